#include "media/video/GStreamerLayouts.h"

#include <iterator>

namespace kinovia {
namespace {

// The pictures reach the sink as the decoder gives them, wherever swscale reads that layout, and
// are turned into RGB by the same conversion as FFmpeg's pictures: the same colours as the ffmpeg
// tool, and no conversion by GStreamer of its own. Other layouts are converted by GStreamer into
// the nearest of these.
struct PixelLayout {
  GstVideoFormat gstreamer;
  AVPixelFormat ffmpeg;
};
constexpr PixelLayout kPixelLayouts[] = {
    {GST_VIDEO_FORMAT_I420, AV_PIX_FMT_YUV420P},
    {GST_VIDEO_FORMAT_NV12, AV_PIX_FMT_NV12},
    {GST_VIDEO_FORMAT_NV21, AV_PIX_FMT_NV21},
    {GST_VIDEO_FORMAT_Y42B, AV_PIX_FMT_YUV422P},
    {GST_VIDEO_FORMAT_Y444, AV_PIX_FMT_YUV444P},
    {GST_VIDEO_FORMAT_Y41B, AV_PIX_FMT_YUV411P},
    {GST_VIDEO_FORMAT_I420_10LE, AV_PIX_FMT_YUV420P10LE},
    {GST_VIDEO_FORMAT_I422_10LE, AV_PIX_FMT_YUV422P10LE},
    {GST_VIDEO_FORMAT_Y444_10LE, AV_PIX_FMT_YUV444P10LE},
    {GST_VIDEO_FORMAT_P010_10LE, AV_PIX_FMT_P010LE},
    {GST_VIDEO_FORMAT_YUY2, AV_PIX_FMT_YUYV422},
    {GST_VIDEO_FORMAT_UYVY, AV_PIX_FMT_UYVY422},
    {GST_VIDEO_FORMAT_GRAY8, AV_PIX_FMT_GRAY8},
    {GST_VIDEO_FORMAT_RGB, AV_PIX_FMT_RGB24},
    {GST_VIDEO_FORMAT_BGR, AV_PIX_FMT_BGR24},
    {GST_VIDEO_FORMAT_RGBx, AV_PIX_FMT_RGB0},
    {GST_VIDEO_FORMAT_BGRx, AV_PIX_FMT_BGR0},
    {GST_VIDEO_FORMAT_xRGB, AV_PIX_FMT_0RGB},
    {GST_VIDEO_FORMAT_xBGR, AV_PIX_FMT_0BGR},
    {GST_VIDEO_FORMAT_RGBA, AV_PIX_FMT_RGBA},
    {GST_VIDEO_FORMAT_BGRA, AV_PIX_FMT_BGRA},
    {GST_VIDEO_FORMAT_ARGB, AV_PIX_FMT_ARGB},
    {GST_VIDEO_FORMAT_ABGR, AV_PIX_FMT_ABGR},
};

// Decoders tag full range with a layout of its own; the pictures are laid out as the plain one.
constexpr PixelLayout kFullRangeLayouts[] = {
    {GST_VIDEO_FORMAT_I420, AV_PIX_FMT_YUVJ420P},
    {GST_VIDEO_FORMAT_Y42B, AV_PIX_FMT_YUVJ422P},
    {GST_VIDEO_FORMAT_Y444, AV_PIX_FMT_YUVJ444P},
};

}  // namespace

AVPixelFormat FFmpegLayout(GstVideoFormat format) {
  for (const auto& layout : kPixelLayouts)
    if (layout.gstreamer == format) return layout.ffmpeg;
  return AV_PIX_FMT_NONE;
}

GstVideoFormat GStreamerLayout(AVPixelFormat format) {
  for (const auto& layout : kPixelLayouts)
    if (layout.ffmpeg == format) return layout.gstreamer;
  for (const auto& layout : kFullRangeLayouts)
    if (layout.ffmpeg == format) return layout.gstreamer;
  return GST_VIDEO_FORMAT_UNKNOWN;
}

GstCaps* ReadableLayouts() {
  GValue list = G_VALUE_INIT;
  gst_value_list_init(&list, std::size(kPixelLayouts));
  for (const auto& layout : kPixelLayouts) {
    GValue name = G_VALUE_INIT;
    g_value_init(&name, G_TYPE_STRING);
    g_value_set_string(&name, gst_video_format_to_string(layout.gstreamer));
    gst_value_list_append_and_take_value(&list, &name);
  }
  GstCaps* caps = gst_caps_new_empty_simple("video/x-raw");
  gst_caps_set_value(caps, "format", &list);
  g_value_unset(&list);
  return caps;
}

}  // namespace kinovia
