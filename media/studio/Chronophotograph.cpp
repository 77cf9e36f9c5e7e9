#include "media/studio/Chronophotograph.h"

#include <algorithm>

#include "logic/tracking/Contour.h"
#include "resources/TxtCommon.h"
#include "resources/TxtStudio.h"

namespace kinovia {

namespace {

Message Refusal(TxtId first, TxtId second) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(first).Line(second);
  return m;
}

Message Unexpected() { return Refusal(txt::ChronoUnexpected, txt::StudioOperationCancelled); }

bool DrawFrame(FrameSource& source, std::int32_t frame, Bitmap& picture) {
  if (frame < 0 || frame >= source.FrameCount()) return false;
  source.SetPosition(frame);
  return source.DrawWhole(picture);
}

void CopyInside(const Bitmap& frame, const PolygonMask& mask, Bitmap& picture) {
  const int right = std::min({mask.left + mask.width, picture.width, frame.width});
  const int bottom = std::min({mask.top + mask.height, picture.height, frame.height});
  for (int y = std::max(mask.top, 0); y < bottom; ++y) {
    for (int x = std::max(mask.left, 0); x < right; ++x) {
      if (mask.Inside(x, y)) std::copy_n(frame.Row(y) + 3 * x, 3, picture.Row(y) + 3 * x);
    }
  }
}

}  // namespace

Result<Bitmap> BuildChronophotograph(FrameSource& source, const StudioContours& contours,
                                     bool background) {
  if (contours.Empty()) return Refusal(txt::ChronoNoContour, txt::ChronoUseContourButton);
  if (!source.IsOpen()) return Unexpected();
  Bitmap picture;
  if (background) {
    if (!DrawFrame(source, *contours.SmallestFrame(), picture)) return Unexpected();
  } else {
    picture.Resize(source.Width(), source.Height());
    std::fill(picture.pixels.begin(), picture.pixels.end(), std::uint8_t{255});
  }
  Bitmap frame;
  for (const auto& contour : contours.List()) {
    if (!DrawFrame(source, contour.frame, frame)) return Unexpected();
    const auto vertices = ToPicturePixels(contour.outline, frame.width, frame.height);
    CopyInside(frame, RasterisePolygon(vertices), picture);
  }
  return picture;
}

}  // namespace kinovia
