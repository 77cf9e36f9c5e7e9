#pragma once
// The picture layouts GStreamer and FFmpeg both name, and the caps that ask for them.
#include <gst/gst.h>
#include <gst/video/video.h>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace kinovia {

// FFmpeg's name for a GStreamer layout; AV_PIX_FMT_NONE where swscale cannot read it.
AVPixelFormat FFmpegLayout(GstVideoFormat format);
// GStreamer's name for a decoder's layout (full-range variants by their plain layout: the range
// travels with the colours); GST_VIDEO_FORMAT_UNKNOWN where there is none.
GstVideoFormat GStreamerLayout(AVPixelFormat format);
// Raw video in any of the layouts both name (a new reference).
GstCaps* ReadableLayouts();

}  // namespace kinovia
