#include "media/video/PictureConversion.h"

#include <algorithm>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
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

PlaneExtent PlaneSamples(const AVPixFmtDescriptor& layout, int plane, int width, int height) {
  const bool chroma = (plane == 1 || plane == 2) && !(layout.flags & AV_PIX_FMT_FLAG_RGB);
  if (!chroma) return {width, height};
  return {AV_CEIL_RSHIFT(width, layout.log2_chroma_w),
          AV_CEIL_RSHIFT(height, layout.log2_chroma_h)};
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

RgbConverter::~RgbConverter() {
  av_freep(&padded_[0]);
  av_freep(&turned_[0]);
}

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

namespace {

// Planes of whole samples each turn on their own; a quarter turn also needs the chroma halved
// alike across and down, or the layout would change (the ffmpeg tool converts such pictures
// first, then turns them).
bool TurnsAsPlanes(AVPixelFormat format, int turn) {
  const AVPixFmtDescriptor* layout = av_pix_fmt_desc_get(format);
  constexpr auto kNotSamples =
      AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL;
  return layout && (layout->flags & AV_PIX_FMT_FLAG_PLANAR) && !(layout->flags & kNotSamples) &&
         (turn == 180 || layout->log2_chroma_w == layout->log2_chroma_h);
}

// Turns a plane of `width` x `height` samples clockwise by a quarter (90) or three quarters
// (270), through tiles of 8 x 8 samples read and written a row at a time; the samples past the
// last whole tile go one by one.
template <typename Sample, int kTurn>
void TurnPlaneQuarter(const std::uint8_t* in, int inLine, int width, int height, std::uint8_t* out,
                      int outLine) {
  constexpr int kTile = 8;
  const auto source = [&](int x, int y) {
    return reinterpret_cast<const Sample*>(in + std::ptrdiff_t{inLine} * y) + x;
  };
  // Where the source sample (x, y) lands.
  const auto turned = [&](int x, int y) {
    const int row = kTurn == 90 ? x : width - 1 - x;
    return reinterpret_cast<Sample*>(out + std::ptrdiff_t{outLine} * row) +
           (kTurn == 90 ? height - 1 - y : y);
  };
  const int wholeWidth = width - width % kTile;
  const int wholeHeight = height - height % kTile;
  for (int top = 0; top < wholeHeight; top += kTile) {
    for (int left = 0; left < wholeWidth; left += kTile) {
      Sample tile[kTile][kTile];
      for (int y = 0; y < kTile; ++y) std::copy_n(source(left, top + y), kTile, tile[y]);
      for (int x = 0; x < kTile; ++x) {
        // The tile's column x, in the order it lies along the turned row.
        Sample* row = turned(left + x, kTurn == 90 ? top + kTile - 1 : top);
        for (int y = 0; y < kTile; ++y) row[y] = tile[kTurn == 90 ? kTile - 1 - y : y][x];
      }
    }
  }
  for (int y = 0; y < height; ++y)
    for (int x = y < wholeHeight ? wholeWidth : 0; x < width; ++x) *turned(x, y) = *source(x, y);
}

template <typename Sample>
void TurnPlane(const std::uint8_t* in, int inLine, int width, int height, std::uint8_t* out,
               int outLine, int turn) {
  if (turn == 90) return TurnPlaneQuarter<Sample, 90>(in, inLine, width, height, out, outLine);
  if (turn == 270) return TurnPlaneQuarter<Sample, 270>(in, inLine, width, height, out, outLine);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const Sample*>(in + std::ptrdiff_t{inLine} * y);
    std::reverse_copy(row, row + width,
                      reinterpret_cast<Sample*>(out + std::ptrdiff_t{outLine} * (height - 1 - y)));
  }
}

bool TurnPlaneOf(int step, const std::uint8_t* in, int inLine, int width, int height,
                 std::uint8_t* out, int outLine, int turn) {
  switch (step) {
    case 1:
      TurnPlane<std::uint8_t>(in, inLine, width, height, out, outLine, turn);
      return true;
    case 2:
      TurnPlane<std::uint16_t>(in, inLine, width, height, out, outLine, turn);
      return true;
    case 4:
      TurnPlane<std::uint32_t>(in, inLine, width, height, out, outLine, turn);
      return true;
    case 8:
      TurnPlane<std::uint64_t>(in, inLine, width, height, out, outLine, turn);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool RgbConverter::ConvertTurned(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out,
                                 int turn) {
  const bool quarter = turn % 180 != 0;
  const int width = quarter ? picture.height : picture.width;
  const int height = quarter ? picture.width : picture.height;
  if (!TurnsAsPlanes(picture.format, turn)) {
    unturned_.Resize(quarter ? out.height : out.width, quarter ? out.width : out.height);
    if (!Convert(picture, colours, unturned_)) return false;
    TurnClockwise(unturned_, turn, out);
    return true;
  }
  const Shape shape{width, height, picture.format, 0, 0};
  if (!(turned_[0] && shape == turnedShape_)) {
    av_freep(&turned_[0]);
    turnedShape_ = {};
    if (av_image_alloc(turned_, turnedLines_, width, height, picture.format, 64) < 0) return false;
    turnedShape_ = shape;
  }
  const AVPixFmtDescriptor* layout = av_pix_fmt_desc_get(picture.format);
  int steps[4] = {};
  av_image_fill_max_pixsteps(steps, nullptr, layout);
  for (int i = 0; i < av_pix_fmt_count_planes(picture.format); ++i) {
    const auto [across, down] = PlaneSamples(*layout, i, picture.width, picture.height);
    if (!TurnPlaneOf(steps[i], picture.planes[i], picture.lines[i], across, down, turned_[i],
                     turnedLines_[i], turn))
      return false;
  }
  return Convert({turned_, turnedLines_, picture.format, width, height}, colours, out);
}

bool RgbConverter::Convert(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out,
                           int turn) {
  if (turn != 0) return ConvertTurned(picture, colours, out, turn);
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
