#pragma once
// A decoded picture of any pixel layout made into the program's RGB bitmap.
#include <cstdint>

#include "media/video/AvHandles.h"
#include "media/video/FrameSource.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kinovia {

// A decoded picture's planes as its decoder left them, described in FFmpeg's terms.
struct DecodedPlanes {
  const std::uint8_t* const* planes = nullptr;
  const int* lines = nullptr;
  AVPixelFormat format = AV_PIX_FMT_NONE;
  int width = 0;
  int height = 0;
};

// The samples across and down of plane `plane` of a `width` x `height` picture in `layout`:
// chroma planes are smaller where the layout halves chroma.
struct PlaneExtent {
  int across = 0;
  int down = 0;
};
PlaneExtent PlaneSamples(const AVPixFmtDescriptor& layout, int plane, int width, int height);

// The planes of a picture FFmpeg decoded.
DecodedPlanes PlanesOf(const AVFrame& picture);

// How a picture's YUV becomes RGB: the matrix (an AVColorSpace, unspecified meaning BT.601) and
// whether the levels span the full 0-255.
struct ColourSpace {
  int matrix = AVCOL_SPC_UNSPECIFIED;
  bool fullRange = false;
};

// The colours the ffmpeg tool converts a decoded picture with: the matrix it is tagged with and
// its range, full for the JPEG layouts.
ColourSpace ColoursOf(const AVFrame& picture);

// Converts the pictures of a stream into the program's RGB bitmap as the ffmpeg tool converts
// them (bicubic, the given colours), straight into the bitmap where its rows allow, keeping
// swscale's context from one picture to the next.
class RgbConverter {
 public:
  RgbConverter() = default;
  ~RgbConverter();
  RgbConverter(const RgbConverter&) = delete;
  RgbConverter& operator=(const RgbConverter&) = delete;

  // `out` keeps its size: the picture, turned `turn` degrees clockwise (0, 90, 180 or 270), is
  // scaled to it. The planes are turned before the conversion, as the ffmpeg tool turns them:
  // where swscale filters chroma (10-bit pictures), turning the RGB picture after it gives other
  // colours on sharp edges.
  bool Convert(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out, int turn = 0);
  // A picture FFmpeg decoded, in the colours it is tagged with, into `out` at the picture's size.
  bool ConvertWhole(const AVFrame& picture, Bitmap& out);

 private:
  bool ConvertTurned(const DecodedPlanes& picture, ColourSpace colours, Bitmap& out, int turn);
  bool Fit(const DecodedPlanes& picture, int width, int height);
  bool FitPadded(int width, int height);
  void FollowColours(ColourSpace colours);

  struct Shape {
    int width = 0;
    int height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
    int outWidth = 0;
    int outHeight = 0;
    bool operator==(const Shape&) const = default;
  };
  SwsContextPtr scale_;
  Shape shape_;  // what scale_ converts
  AvFramePtr source_{av_frame_alloc()};
  AvFramePtr target_{av_frame_alloc()};
  // The converter's colours and the context they were set on.
  const SwsContext* colourFor_ = nullptr;
  ColourSpace colours_;
  // swscale's vector code writes whole blocks of 16 pixels, past the end of a row whose width is
  // not a multiple of 16 (and of the last row): such pictures go through rows padded and aligned
  // as it expects, then are copied out.
  std::uint8_t* padded_[4] = {};
  int paddedLines_[4] = {};
  int paddedWidth_ = 0;
  int paddedHeight_ = 0;
  // The planes of the last picture turned, in its own layout, and what they hold.
  std::uint8_t* turned_[4] = {};
  int turnedLines_[4] = {};
  Shape turnedShape_;
  // A picture whose planes cannot be turned as they are, converted before being turned.
  Bitmap unturned_;
};

}  // namespace kinovia
