#include "logic/tracking/OutlineDrawing.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
#include "logic/tracking/Contour.h"

namespace kinovia {

OutlineShape ShapeFromOption(int value) {
  switch (value) {
    case 1:
      return OutlineShape::Polygon;
    case 2:
      return OutlineShape::FreeLine;
    default:
      return OutlineShape::Circle;
  }
}

void OutlineDrawing::SetShape(OutlineShape shape) {
  shape_ = shape;
  Cancel();
}

void OutlineDrawing::Cancel() {
  drawing_ = false;
  points_.clear();
}

void OutlineDrawing::Add(PointD at) {
  if (points_.empty() || !(points_.back() == at)) points_.push_back(at);
  rubber_ = at;
}

bool OutlineDrawing::Press(PointD at, bool doubleClick) {
  // The double click's own press came first; only a polygon has a use for the double click.
  if (doubleClick && shape_ != OutlineShape::Polygon) return false;
  switch (shape_) {
    case OutlineShape::Polygon:
      drawing_ = true;
      Add(at);
      return doubleClick;
    case OutlineShape::FreeLine:
      if (drawing_) return true;
      drawing_ = true;
      Add(at);
      return false;
    case OutlineShape::Circle:
      // The finishing click is on the rim, even when no move came before it.
      if (drawing_) {
        rubber_ = at;
        return true;
      }
      drawing_ = true;
      centre_ = at;
      rubber_ = at;
      return false;
  }
  return false;
}

void OutlineDrawing::Move(PointD at) {
  if (!drawing_) return;
  if (shape_ == OutlineShape::FreeLine)
    Add(at);
  else
    rubber_ = at;
}

std::vector<PointD> OutlineDrawing::Take(int pictureWidth, int pictureHeight) {
  std::vector<PointD> outline;
  if (shape_ == OutlineShape::Circle && drawing_ && pictureWidth > 0 && pictureHeight > 0) {
    // The circle is drawn in picture pixels, so it stays round on a picture of any proportions.
    const PointI centre = ToPicturePixel(centre_, pictureWidth, pictureHeight);
    const PointI rim = ToPicturePixel(rubber_, pictureWidth, pictureHeight);
    const int radius = RoundToInt(std::hypot(rim.x - centre.x, rim.y - centre.y));
    for (const PointI& p : CircleBoundary(centre, radius))
      outline.push_back({double(p.x) / pictureWidth, double(p.y) / pictureHeight});
  } else {
    outline = std::move(points_);
  }
  Cancel();
  return outline;
}

}  // namespace kinovia
