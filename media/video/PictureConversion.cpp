#include "media/video/PictureConversion.h"

#include <algorithm>

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
