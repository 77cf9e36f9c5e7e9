#pragma once
// Owners of FFmpeg's handles, so no error path leaves one behind.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace kinovia {

struct TAvFormatFree {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct TAvCodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct TAvPacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct TAvFrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};

using TAvFormatPtr = std::unique_ptr<AVFormatContext, TAvFormatFree>;
using TAvCodecPtr = std::unique_ptr<AVCodecContext, TAvCodecFree>;
using TAvPacketPtr = std::unique_ptr<AVPacket, TAvPacketFree>;
using TAvFramePtr = std::unique_ptr<AVFrame, TAvFrameFree>;

}  // namespace kinovia
