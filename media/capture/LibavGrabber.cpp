// Framework 0: V4L2 cameras through libavdevice. The test pattern is a libavfilter graph opened
// through libavdevice's "lavfi" input, so it runs the same demuxing, decoding and conversion as a
// camera and arrives at the camera's pace ("realtime").
#include <algorithm>
#include <atomic>
#include <map>
#include <string>

#include "media/capture/FrameGrabber.h"
#include "media/video/AvHandles.h"
#include "media/video/PictureConversion.h"

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavutil/imgutils.h>
}

namespace kinovia {
namespace {

struct DictionaryFree {
  void operator()(AVDictionary* d) const { av_dict_free(&d); }
};

// The cells of the binary frame counter across the top of the pattern, lowest bit first.
constexpr int kCounterBits = 16;

std::string TestPatternGraph(const CaptureFormat& format, bool withText) {
  const int cell = std::max(4, format.width / kCounterBits);
  const std::string size = std::to_string(format.width) + "x" + std::to_string(format.height);
  const std::string rate =
      std::to_string(format.rateNumerator) + "/" + std::to_string(format.rateDenominator);
  std::string graph = "color=c=0x3060a0:s=" + size + ":r=" + rate;
  // A disc-sized square crossing the picture back and forth, so motion is visible.
  graph += ",drawbox=x='abs(mod(t*" + std::to_string(format.width / 2) + "," +
           std::to_string(2 * format.width) + ")-" + std::to_string(format.width) +
           ")*0.8':y=ih/2-ih/10:w=ih/5:h=ih/5:c=yellow:t=fill";
  for (int bit = 0; bit < kCounterBits; ++bit) {
    graph += ",drawbox=x=" + std::to_string(bit * cell) + ":y=0:w=" + std::to_string(cell) +
             ":h=" + std::to_string(cell) + ":c=white:t=fill:enable='mod(floor(n/" +
             std::to_string(1 << bit) + "),2)'";
  }
  if (withText) {
    graph += ",drawtext=text='%{frame_num}':x=w-tw-8:y=h-th-8:fontsize=" +
             std::to_string(std::max(12, format.height / 12)) + ":fontcolor=white";
  }
  return graph + ",realtime";
}

const char* LibavPixelName(const std::string& encoding) {
  static const std::map<std::string, const char*> names = {{"YUYV", "yuyv422"}, {"MJPG", "mjpeg"},
                                                           {"UYVY", "uyvy422"}, {"NV12", "nv12"},
                                                           {"YU12", "yuv420p"}, {"RGB3", "rgb24"}};
  const auto found = names.find(encoding);
  return found == names.end() ? nullptr : found->second;
}

class LibavGrabber final : public FrameGrabber {
 public:
  bool Open(const CaptureDevice& device, const CaptureFormat& format) {
    avdevice_register_all();
    const bool pattern = device.testPattern;
    const AVInputFormat* input = av_find_input_format(pattern ? "lavfi" : "video4linux2");
    if (!input) return false;
    // A machine without fonts cannot draw the counter's digits; the binary cells still count.
    for (const bool withText : {true, false}) {
      if (!pattern && !withText) break;
      if (OpenInput(input, pattern ? TestPatternGraph(format, withText) : device.path, format,
                    pattern))
        return OpenDecoder();
    }
    return false;
  }

  bool Read(Bitmap& frame, std::int64_t& microseconds) override {
    while (!interrupted_) {
      if (av_read_frame(format_.get(), packet_.get()) < 0) return false;
      const bool ours = packet_->stream_index == stream_;
      const std::int64_t pts = packet_->pts;
      if (ours && avcodec_send_packet(codec_.get(), packet_.get()) < 0) {
        av_packet_unref(packet_.get());
        return false;
      }
      av_packet_unref(packet_.get());
      if (ours && avcodec_receive_frame(codec_.get(), picture_.get()) == 0) {
        const AVRational base = format_->streams[stream_]->time_base;
        const std::int64_t at = picture_->pts != AV_NOPTS_VALUE ? picture_->pts : pts;
        microseconds = av_rescale_q(at, base, AVRational{1, 1000000});
        return Convert(frame);
      }
    }
    return false;
  }

  void Interrupt() override { interrupted_ = true; }

 private:
  static int Interrupted(void* self) {
    return static_cast<LibavGrabber*>(self)->interrupted_.load() ? 1 : 0;
  }

  bool OpenInput(const AVInputFormat* input, const std::string& url, const CaptureFormat& format,
                 bool pattern) {
    AVFormatContext* context = avformat_alloc_context();
    if (!context) return false;
    context->interrupt_callback = {&LibavGrabber::Interrupted, this};
    AVDictionary* options = nullptr;
    if (!pattern) {
      av_dict_set(&options, "video_size",
                  (std::to_string(format.width) + "x" + std::to_string(format.height)).c_str(), 0);
      av_dict_set(
          &options, "framerate",
          (std::to_string(format.rateNumerator) + "/" + std::to_string(format.rateDenominator))
              .c_str(),
          0);
      if (const char* pixels = LibavPixelName(format.encoding))
        av_dict_set(&options, "input_format", pixels, 0);
    }
    std::unique_ptr<AVDictionary, DictionaryFree> owned(options);
    AVDictionary* handed = owned.release();
    // avformat_open_input frees the context itself when it fails.
    const int opened = avformat_open_input(&context, url.c_str(), input, &handed);
    owned.reset(handed);
    if (opened < 0) return false;
    format_.reset(context);
    return avformat_find_stream_info(format_.get(), nullptr) >= 0;
  }

  bool OpenDecoder() {
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream_ < 0 || !decoder) return false;
    codec_.reset(avcodec_alloc_context3(decoder));
    packet_.reset(av_packet_alloc());
    picture_.reset(av_frame_alloc());
    if (!codec_ || !packet_ || !picture_) return false;
    if (avcodec_parameters_to_context(codec_.get(), format_->streams[stream_]->codecpar) < 0)
      return false;
    return avcodec_open2(codec_.get(), decoder, nullptr) >= 0;
  }

  bool Convert(Bitmap& frame) {
    const int w = picture_->width;
    const int h = picture_->height;
    if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
    return converter_.ConvertWhole(*picture_, frame);
  }

  std::atomic<bool> interrupted_{false};
  AvFormatPtr format_;
  AvCodecPtr codec_;
  AvPacketPtr packet_;
  AvFramePtr picture_;
  RgbConverter converter_;
  int stream_ = -1;
};

}  // namespace

Result<std::unique_ptr<FrameGrabber>> ConnectLibavGrabber(const CaptureDevice& device,
                                                          const CaptureFormat& format) {
  auto grabber = std::make_unique<LibavGrabber>();
  if (!grabber->Open(device, format)) return DeviceNotWorking();
  return std::unique_ptr<FrameGrabber>(std::move(grabber));
}

}  // namespace kinovia
