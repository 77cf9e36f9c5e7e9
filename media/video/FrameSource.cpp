#include "media/video/FrameSource.h"

#include <algorithm>
#include <cmath>

namespace kinovia {

void Bitmap::Resize(int w, int h) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
}

void StretchInto(const Bitmap& picture, PictureRect source, RasterOperation op, Bitmap& target) {
  source.left = std::clamp(source.left, 0, picture.width);
  source.right = std::clamp(source.right, source.left, picture.width);
  source.top = std::clamp(source.top, 0, picture.height);
  source.bottom = std::clamp(source.bottom, source.top, picture.height);
  const std::int64_t w = source.right - source.left;
  const std::int64_t h = source.bottom - source.top;
  if (w == 0 || h == 0 || target.width <= 0 || target.height <= 0) return;
  if (w == picture.width && h == picture.height && w == target.width && h == target.height &&
      op == RasterOperation::Copy) {
    target.pixels = picture.pixels;  // the common case of a whole frame at its own size
    return;
  }
  const std::uint8_t mask = op == RasterOperation::Invert ? 0xFF : 0x00;
  // Each target pixel takes the source pixel under its centre, so a 1:1 copy is exact.
  std::vector<int> columns(target.width);
  for (int x = 0; x < target.width; ++x)
    columns[x] = 3 * static_cast<int>(source.left + (2 * x + 1) * w / (2 * target.width));
  for (int y = 0; y < target.height; ++y) {
    const int sy =
        static_cast<int>(source.top + (2 * y + 1) * h / (2 * std::int64_t{target.height}));
    const std::uint8_t* in = picture.Row(sy);
    std::uint8_t* out = target.Row(y);
    for (int x = 0; x < target.width; ++x) {
      const std::uint8_t* p = in + columns[x];
      out[3 * x] = p[0] ^ mask;
      out[3 * x + 1] = p[1] ^ mask;
      out[3 * x + 2] = p[2] ^ mask;
    }
  }
}

void TurnClockwise(const Bitmap& picture, int degrees, Bitmap& turned) {
  const int w = picture.width;
  const int h = picture.height;
  const bool quarter = degrees % 180 != 0;
  if (turned.width != (quarter ? h : w) || turned.height != (quarter ? w : h))
    turned.Resize(quarter ? h : w, quarter ? w : h);
  for (int y = 0; y < turned.height; ++y) {
    std::uint8_t* out = turned.Row(y);
    for (int x = 0; x < turned.width; ++x, out += 3) {
      // The stored pixel that lands on (x, y) of the turned picture.
      const int sx = degrees == 90    ? y
                     : degrees == 180 ? w - 1 - x
                     : degrees == 270 ? w - 1 - y
                                      : x;
      const int sy = degrees == 90    ? h - 1 - x
                     : degrees == 180 ? h - 1 - y
                     : degrees == 270 ? x
                                      : y;
      std::copy_n(picture.Row(sy) + 3 * sx, 3, out);
    }
  }
}

bool FrameSource::OpeningGoesOn(double fraction) {
  if (!openingCancelled_ && onOpeningProgress && !onOpeningProgress(std::clamp(fraction, 0.0, 1.0)))
    openingCancelled_ = true;
  return !openingCancelled_;
}

bool FrameSource::Open(const std::string& fileName) {
  if (!OpenUndrawn(fileName)) return false;
  if (!DecodeCurrent()) {
    Close();
    return false;
  }
  if (onOpened) onOpened();
  return true;
}

bool FrameSource::OpenUndrawn(const std::string& fileName) {
  Close();
  openingCancelled_ = false;
  const auto facts = OpenFile(fileName);
  const bool sane = facts && facts->frameCount > 0 &&
                    PictureSizeAllowed(facts->width, facts->height) &&
                    std::isfinite(facts->framesPerSecond) && facts->framesPerSecond > 0 &&
                    facts->rotation % 90 == 0 && facts->rotation >= 0 && facts->rotation < 360;
  if (!sane) {
    if (facts) CloseFile();
    return false;
  }
  frameCount_ = facts->frameCount;
  width_ = facts->width;
  height_ = facts->height;
  rotation_ = facts->rotation;
  framesPerSecond_ = facts->framesPerSecond;
  fileName_ = fileName;
  current_ = 0;
  open_ = true;
  return true;
}

void FrameSource::Close() {
  if (open_) CloseFile();
  ClearFacts();
}

void FrameSource::ClearFacts() {
  open_ = false;
  frameCount_ = 0;
  width_ = height_ = 0;
  rotation_ = 0;
  framesPerSecond_ = 0;
  current_ = 0;
  fileName_.clear();
  picture_ = Bitmap();
  pictureFrame_ = -1;
}

void FrameSource::SetPosition(std::int32_t n) {
  if (open_) current_ = std::clamp(n, 0, frameCount_ - 1);
}

int FrameSource::DurationMs() const {
  if (!open_) return 0;
  return static_cast<int>(std::min(std::lround(1000.0 / framesPerSecond_), 65535L));
}

bool FrameSource::DecodeCurrent() {
  const std::int32_t n = current_.load();
  if (n == pictureFrame_) return true;
  pictureFrame_ = -1;
  if (!DecodeUpright(n, picture_)) return false;
  pictureFrame_ = n;
  return true;
}

bool FrameSource::DecodeUpright(std::int32_t n, Bitmap& upright) {
  if (upright.width != Width() || upright.height != Height()) upright.Resize(Width(), Height());
  return DecodeFrame(n, rotation_, upright);
}

bool FrameSource::Draw(Bitmap& target, PictureRect source) {
  if (!open_ || busy_.exchange(true)) return false;
  const std::int32_t n = current_.load();
  bool ok = false;
  // Stepping through a clip draws each new frame whole at its own size: it is decoded straight
  // into the target, sparing a copy of the picture a frame, and a frame decoded already (at the
  // opening) is handed over. The frame kept for redrawing is then gone, and a redraw decodes it
  // again (the frameworks keep their last picture for that).
  const bool whole = source == PictureRect{0, 0, Width(), Height()} && target.width == Width() &&
                     target.height == Height() && rasterOp_ == RasterOperation::Copy;
  if (whole && n == pictureFrame_) {
    HandOverPicture(target);
    ok = true;
  } else if (whole) {
    pictureFrame_ = -1;
    ok = DecodeUpright(n, target);
  } else {
    ok = DecodeCurrent();
    if (ok) StretchInto(picture_, source, rasterOp_, target);
  }
  busy_ = false;
  return ok;
}

bool FrameSource::DrawWhole(Bitmap& target) {
  if (!open_) return false;
  const PictureRect whole{0, 0, Width(), Height()};
  if (target.width == Width() && target.height == Height()) return Draw(target, whole);
  // The frame the opening drew is handed over as it is, rather than copied into a picture
  // cleared for it: at 4K, 25 MB of memory touched for the first time less.
  if (TakeDecodedPicture(target)) return true;
  target.Resize(Width(), Height());
  return Draw(target, whole);
}

bool FrameSource::TakeDecodedPicture(Bitmap& target) {
  if (rasterOp_ != RasterOperation::Copy || busy_.exchange(true)) return false;
  const bool decoded = current_.load() == pictureFrame_;
  if (decoded) HandOverPicture(target);
  busy_ = false;
  return decoded;
}

void FrameSource::HandOverPicture(Bitmap& target) {
  std::swap(target, picture_);
  pictureFrame_ = -1;
}

}  // namespace kinovia
