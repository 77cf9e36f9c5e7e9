#pragma once
// Owners of FFmpeg's handles, so no error path leaves one behind.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace kinovia {

struct AvFormatFree {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct AvCodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct AvPacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct AvFrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};

struct SwsContextFree {
  void operator()(SwsContext* c) const { sws_freeContext(c); }
};

using AvFormatPtr = std::unique_ptr<AVFormatContext, AvFormatFree>;
using AvCodecPtr = std::unique_ptr<AVCodecContext, AvCodecFree>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;

}  // namespace kinovia
