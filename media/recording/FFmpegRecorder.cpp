// FFmpeg's libraries as a recorder: MPEG-4 Part 2 in an AVI file, the quality as a fixed
// quantiser, the key-frame interval as the group of pictures, the comment in the file's tags.
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "media/recording/RecorderBackends.h"
#include "media/recording/TemporaryFile.h"
#include "media/video/AvHandles.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

struct OutputFree {
  void operator()(AVFormatContext* c) const {
    if (c->pb) avio_closep(&c->pb);
    avformat_free_context(c);
  }
};

class FFmpegRecorder : public Recorder {
 public:
  ~FFmpegRecorder() override { Discard(); }

  std::vector<std::string> Codecs() const override {
    if (FFmpegRuntimeOutdated() || !avcodec_find_encoder(AV_CODEC_ID_MPEG4)) return {};
    return {Txt(txt::RecordFFmpegCodec)};
  }

  bool Open(const std::filesystem::path& target, const RecorderFormat& f) override {
    Discard();
    ClearError();
    if (FFmpegRuntimeOutdated())
      return Fail(Txt(txt::VideoFFmpegOutdated) + "\n" + Txt(txt::VideoFFmpegOutdatedAdvice));
    if (!f.codec.empty() && f.codec != Txt(txt::RecordFFmpegCodec))
      return Fail(Txt(txt::RecordCodecMissing));
    target_ = target;
    temporary_ = MakeTemporaryBeside(target);
    if (temporary_.empty()) return Fail(Txt(txt::AviWriterCannotReplace));
    if (!OpenEncoder(f) || !OpenFile(f)) {
      Discard();
      return false;
    }
    return true;
  }

  bool AddFrame(const Bitmap& picture) override {
    if (!output_) return Fail(Txt(txt::AviWriterNotInitialised));
    if (picture.width != codec_->width || picture.height != codec_->height)
      return Fail(Txt(txt::AviWriterFrameDamaged));
    if (av_frame_make_writable(frame_.get()) < 0) return Fail(Txt(txt::RecordNoMemoryVideo));
    const std::uint8_t* rows[1] = {picture.pixels.data()};
    const int strides[1] = {picture.width * 3};
    sws_scale(scale_.get(), rows, strides, 0, picture.height, frame_->data, frame_->linesize);
    frame_->pts = next_++;
    return Encode(frame_.get()) || Fail(Txt(txt::RecordFrameNotInserted));
  }

  bool Finish() override {
    if (!output_) return Fail(Txt(txt::AviWriterNotInitialised));
    const bool written = Encode(nullptr) && av_write_trailer(output_.get()) >= 0;
    const bool closed = avio_closep(&output_->pb) >= 0;
    output_.reset();
    return Complete(written && closed, temporary_, target_);
  }

  void Discard() override {
    output_.reset();
    codec_.reset();
    frame_.reset();
    scale_.reset();
    if (!temporary_.empty()) RemoveQuietly(temporary_);
    temporary_.clear();
  }

 private:
  bool OpenEncoder(const RecorderFormat& f) {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!encoder) return Fail(Txt(txt::RecordCodecMissing));
    codec_.reset(avcodec_alloc_context3(encoder));
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!codec_ || !frame_ || !packet_) return Fail(Txt(txt::RecordNoMemoryVideo));
    codec_->width = f.width;
    codec_->height = f.height;
    codec_->pix_fmt = AV_PIX_FMT_YUV420P;
    codec_->time_base = av_inv_q(av_d2q(f.framesPerSecond, 1 << 16));
    codec_->framerate = av_inv_q(codec_->time_base);
    codec_->gop_size = f.keyFrames;
    codec_->flags |= AV_CODEC_FLAG_QSCALE;
    codec_->global_quality = FF_QP2LAMBDA * QuantiserOf(f.quality);
    codec_->thread_count = 0;  // as many as the machine has
    if (avcodec_open2(codec_.get(), encoder, nullptr) < 0)
      return Fail(Txt(txt::AviWriterFormatRefused));
    frame_->format = codec_->pix_fmt;
    frame_->width = f.width;
    frame_->height = f.height;
    if (av_frame_get_buffer(frame_.get(), 0) < 0) return Fail(Txt(txt::RecordNoMemoryVideo));
    scale_.reset(sws_getContext(f.width, f.height, AV_PIX_FMT_RGB24, f.width, f.height,
                                codec_->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scale_) return Fail(Txt(txt::RecordNoMemoryVideo));
    next_ = 0;
    return true;
  }

  bool OpenFile(const RecorderFormat& f) {
    AVFormatContext* made = nullptr;
    avformat_alloc_output_context2(&made, nullptr, "avi", temporary_.c_str());
    if (!made) return Fail(Txt(txt::RecordNoMemoryVideo));
    output_.reset(made);
    AVStream* stream = avformat_new_stream(made, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, codec_.get()) < 0)
      return Fail(Txt(txt::AviWriterFormatRefused));
    stream->time_base = codec_->time_base;
    stream->avg_frame_rate = codec_->framerate;
    if (!f.comment.empty()) av_dict_set(&made->metadata, "comment", f.comment.c_str(), 0);
    if (avio_open(&made->pb, temporary_.c_str(), AVIO_FLAG_WRITE) < 0)
      return Fail(Txt(txt::AviWriterCannotReplace));
    if (avformat_write_header(made, nullptr) < 0) return Fail(Txt(txt::AviWriterFormatRefused));
    return true;
  }

  // Sends a frame (nullptr: the end) and writes every packet the encoder gives back.
  bool Encode(AVFrame* frame) {
    if (avcodec_send_frame(codec_.get(), frame) < 0) return false;
    AVStream* stream = output_->streams[0];
    for (;;) {
      const int got = avcodec_receive_packet(codec_.get(), packet_.get());
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      av_packet_rescale_ts(packet_.get(), codec_->time_base, stream->time_base);
      packet_->stream_index = 0;
      if (av_interleaved_write_frame(output_.get(), packet_.get()) < 0) return false;
    }
  }

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::unique_ptr<AVFormatContext, OutputFree> output_;
  AvCodecPtr codec_;
  AvFramePtr frame_;
  AvPacketPtr packet_;
  SwsContextPtr scale_;
  std::int64_t next_ = 0;
};

}  // namespace

std::unique_ptr<Recorder> MakeFFmpegRecorder() { return std::make_unique<FFmpegRecorder>(); }

}  // namespace kinovia
