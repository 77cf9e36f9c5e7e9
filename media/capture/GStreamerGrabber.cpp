// Framework 1: cameras through GStreamer's v4l2src; its test pattern is videotestsrc, live, so it
// paces itself as a camera does.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "media/capture/FrameGrabber.h"
#include "media/capture/GStreamerDevices.h"

namespace kinovia {
namespace {

constexpr GstClockTime kPollNanoseconds = 200 * GST_MSECOND;

struct PipelineUnref {
  void operator()(GstElement* e) const {
    gst_element_set_state(e, GST_STATE_NULL);
    gst_object_unref(e);
  }
};

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string PipelineText(const CaptureDevice& device, const CaptureFormat& format) {
  const std::string shape = ",width=" + std::to_string(format.width) +
                            ",height=" + std::to_string(format.height) +
                            ",framerate=" + std::to_string(format.rateNumerator) + "/" +
                            std::to_string(format.rateDenominator);
  std::string source;
  if (device.testPattern) {
    source = "videotestsrc is-live=true pattern=ball ! video/x-raw" + shape;
  } else if (format.encoding == "MJPG") {
    source = "v4l2src device=" + Quoted(device.path) + " ! image/jpeg" + shape + " ! jpegdec";
  } else {
    source = "v4l2src device=" + Quoted(device.path) + " ! video/x-raw" + shape;
  }
  return source +
         " ! videoconvert ! video/x-raw,format=RGB ! appsink name=sink sync=false max-buffers=8";
}

class GStreamerGrabber final : public FrameGrabber {
 public:
  bool Open(const CaptureDevice& device, const CaptureFormat& format) {
    if (!GStreamerStarted()) return false;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(PipelineText(device, format).c_str(), &error);
    if (error) g_error_free(error);
    if (!pipeline) return false;
    pipeline_.reset(pipeline);
    sink_ = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    if (!sink_) return false;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
      return false;
    // A live source reports no preroll; a device that cannot stream fails here.
    GstState state;
    return gst_element_get_state(pipeline, &state, nullptr, 5 * GST_SECOND) !=
           GST_STATE_CHANGE_FAILURE;
  }

  ~GStreamerGrabber() override {
    if (sink_) gst_object_unref(sink_);
  }

  bool Read(Bitmap& frame, std::int64_t& microseconds) override {
    while (!interrupted_) {
      GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), kPollNanoseconds);
      if (!sample) {
        if (gst_app_sink_is_eos(GST_APP_SINK(sink_)) || Failed()) return false;
        continue;
      }
      const bool copied = Copy(sample, frame, microseconds);
      gst_sample_unref(sample);
      return copied;
    }
    return false;
  }

  void Interrupt() override { interrupted_ = true; }

 private:
  // An error on the bus (a camera pulled out) ends the stream.
  bool Failed() const {
    GstBus* bus = gst_element_get_bus(pipeline_.get());
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    gst_object_unref(bus);
    if (!message) return false;
    gst_message_unref(message);
    return true;
  }

  static bool Copy(GstSample* sample, Bitmap& frame, std::int64_t& microseconds) {
    GstCaps* caps = gst_sample_get_caps(sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    const GstStructure* s = caps ? gst_caps_get_structure(caps, 0) : nullptr;
    int w = 0, h = 0;
    if (!s || !buffer || !gst_structure_get_int(s, "width", &w) ||
        !gst_structure_get_int(s, "height", &h) || w <= 0 || h <= 0 || w > kMaxPictureSide ||
        h > kMaxPictureSide)
      return false;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return false;
    // GStreamer pads RGB rows to four bytes.
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    const bool whole = map.size >= stride * static_cast<std::size_t>(h - 1) + 3 * w;
    if (whole) {
      frame.Resize(w, h);
      for (int y = 0; y < h; ++y)
        std::copy_n(map.data + stride * static_cast<std::size_t>(y), 3 * w, frame.Row(y));
    }
    gst_buffer_unmap(buffer, &map);
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    microseconds = GST_CLOCK_TIME_IS_VALID(pts) ? static_cast<std::int64_t>(pts / GST_USECOND) : 0;
    return whole;
  }

  std::atomic<bool> interrupted_{false};
  std::unique_ptr<GstElement, PipelineUnref> pipeline_;
  GstElement* sink_ = nullptr;
};

}  // namespace

Result<std::unique_ptr<FrameGrabber>> ConnectGStreamerGrabber(const CaptureDevice& device,
                                                              const CaptureFormat& format) {
  auto grabber = std::make_unique<GStreamerGrabber>();
  if (!grabber->Open(device, format)) return DeviceNotWorking();
  return std::unique_ptr<FrameGrabber>(std::move(grabber));
}

}  // namespace kinovia
