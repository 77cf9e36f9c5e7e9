#include "media/video/PictureConversion.h"

#include <algorithm>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace kinovia {

// Into a frame of FFmpeg's own padded rows, then row by row into the bitmap: swscale writes whole
// blocks of pixels, past the end of an unpadded row.
bool ConvertToBitmap(const AVFrame& picture, SwsContextPtr& scale, AVFrame& rgb, Bitmap& out) {
  const int w = picture.width;
  const int h = picture.height;
  if (rgb.width != w || rgb.height != h) {
    av_frame_unref(&rgb);
    rgb.format = AV_PIX_FMT_RGB24;
    rgb.width = w;
    rgb.height = h;
    if (av_frame_get_buffer(&rgb, 64) < 0) return false;
  }
  scale.reset(sws_getCachedContext(scale.release(), w, h,
                                   static_cast<AVPixelFormat>(picture.format), w, h,
                                   AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
  if (!scale ||
      sws_scale(scale.get(), picture.data, picture.linesize, 0, h, rgb.data, rgb.linesize) != h)
    return false;
  out.Resize(w, h);
  for (int y = 0; y < h; ++y)
    std::copy_n(rgb.data[0] + static_cast<std::ptrdiff_t>(y) * rgb.linesize[0], 3 * w, out.Row(y));
  return true;
}

}  // namespace kinovia

namespace kinovia {

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

bool RgbConverter::Convert(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out) {
  // Bicubic as the ffmpeg tool's own conversion, so that both agree on chroma.
  scale_.reset(sws_getCachedContext(scale_.release(), picture.width, picture.height, picture.format,
                                    out.width, out.height, AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr,
                                    nullptr, nullptr));
  if (!scale_) return false;
  FollowColours(colours);
  if (out.width % 16 == 0) {
    std::uint8_t* planes[4] = {out.pixels.data(), nullptr, nullptr, nullptr};
    const int lines[4] = {3 * out.width, 0, 0, 0};
    return sws_scale(scale_.get(), picture.planes, picture.lines, 0, picture.height, planes,
                     lines) == out.height;
  }
  if (!FitPadded(out.width, out.height) ||
      sws_scale(scale_.get(), picture.planes, picture.lines, 0, picture.height, padded_,
                paddedLines_) != out.height)
    return false;
  for (int y = 0; y < out.height; ++y)
    std::copy_n(padded_[0] + static_cast<std::ptrdiff_t>(y) * paddedLines_[0], 3 * out.width,
                out.Row(y));
  return true;
}

}  // namespace kinovia
