#include "media/video/PictureConversion.h"

#include <algorithm>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

namespace kinovia {

ColourSpace ColoursOf(const AVFrame& picture) {
  switch (picture.format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return {picture.colorspace, true};
    default:
      return {picture.colorspace, picture.color_range == AVCOL_RANGE_JPEG};
  }
}

DecodedPlanes PlanesOf(const AVFrame& picture) {
  return {picture.data, picture.linesize, static_cast<AVPixelFormat>(picture.format), picture.width,
          picture.height};
}

bool RgbConverter::ConvertWhole(const AVFrame& picture, Bitmap& out) {
  if (out.width != picture.width || out.height != picture.height)
    out.Resize(picture.width, picture.height);
  return Convert(PlanesOf(picture), ColoursOf(picture), out);
}

RgbConverter::~RgbConverter() { av_freep(&padded_[0]); }

bool RgbConverter::FitPadded(int width, int height) {
  if (padded_[0] && width == paddedWidth_ && height == paddedHeight_) return true;
  av_freep(&padded_[0]);
  paddedWidth_ = paddedHeight_ = 0;
  if (av_image_alloc(padded_, paddedLines_, width, height, AV_PIX_FMT_RGB24, 64) < 0) return false;
  paddedWidth_ = width;
  paddedHeight_ = height;
  return true;
}

void RgbConverter::FollowColours(ColourSpace colours) {
  if (colourFor_ == scale_.get() && colours_.matrix == colours.matrix &&
      colours_.fullRange == colours.fullRange)
    return;
  sws_setColorspaceDetails(scale_.get(), sws_getCoefficients(colours.matrix),
                           colours.fullRange ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                           1 << 16, 1 << 16);
  colourFor_ = scale_.get();
  colours_ = colours;
}

namespace {

void KeepPixels(void*, std::uint8_t*) {}

// Points `frame` at pixels owned elsewhere, for swscale's frame interface: its references hold
// them without copying or freeing them.
bool PointAt(AVFrame& frame, const std::uint8_t* const* planes, const int* lines,
             AVPixelFormat format, int width, int height) {
  av_frame_unref(&frame);
  for (int i = 0; i < 4; ++i) {
    frame.data[i] = const_cast<std::uint8_t*>(planes[i]);
    frame.linesize[i] = lines[i];
  }
  frame.format = format;
  frame.width = width;
  frame.height = height;
  frame.buf[0] = av_buffer_create(frame.data[0], 1, KeepPixels, nullptr, 0);
  return frame.buf[0] != nullptr;
}

}  // namespace

// A context of its own (swscale caches none with threads): slices of the picture are converted
// on every processor, as the decoder's threads wait.
bool RgbConverter::Fit(const DecodedPlanes& picture, int width, int height) {
  const Shape shape{picture.width, picture.height, picture.format, width, height};
  if (scale_ && shape == shape_) return true;
  scale_.reset(sws_alloc_context());
  SwsContext* c = scale_.get();
  // Bicubic as the ffmpeg tool's own conversion, so that both agree on chroma.
  if (!c || av_opt_set_int(c, "srcw", picture.width, 0) < 0 ||
      av_opt_set_int(c, "srch", picture.height, 0) < 0 ||
      av_opt_set_pixel_fmt(c, "src_format", picture.format, 0) < 0 ||
      av_opt_set_int(c, "dstw", width, 0) < 0 || av_opt_set_int(c, "dsth", height, 0) < 0 ||
      av_opt_set_pixel_fmt(c, "dst_format", AV_PIX_FMT_RGB24, 0) < 0 ||
      av_opt_set_int(c, "sws_flags", SWS_BICUBIC, 0) < 0 ||
      av_opt_set_int(c, "threads", 0, 0) < 0 || sws_init_context(c, nullptr, nullptr) < 0) {
    scale_.reset();
    return false;
  }
  shape_ = shape;
  return true;
}

bool RgbConverter::Convert(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out) {
  if (!Fit(picture, out.width, out.height)) return false;
  FollowColours(colours);
  const bool straight = out.width % 16 == 0;
  if (!straight && !FitPadded(out.width, out.height)) return false;
  std::uint8_t* rows[4] = {out.pixels.data(), nullptr, nullptr, nullptr};
  const int lines[4] = {3 * out.width, 0, 0, 0};
  const bool converted =
      source_ && target_ &&
      PointAt(*source_, picture.planes, picture.lines, picture.format, picture.width,
              picture.height) &&
      PointAt(*target_, straight ? rows : padded_, straight ? lines : paddedLines_,
              AV_PIX_FMT_RGB24, out.width, out.height) &&
      sws_scale_frame(scale_.get(), target_.get(), source_.get()) >= 0;
  av_frame_unref(source_.get());
  av_frame_unref(target_.get());
  if (!converted) return false;
  if (!straight)
    for (int y = 0; y < out.height; ++y)
      std::copy_n(padded_[0] + static_cast<std::ptrdiff_t>(y) * paddedLines_[0], 3 * out.width,
                  out.Row(y));
  return true;
}

}  // namespace kinovia
