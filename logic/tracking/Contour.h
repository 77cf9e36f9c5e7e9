#pragma once
// The geometry of the outlines a user draws on a frame (a free line, a polygon, a circle) and
// their rasterisation into masks of picture pixels. Tracking builds its colour model from them
// and masks its ban zones with them; the chronophotograph cuts its objects out with them.
#include <cstdint>
#include <span>
#include <vector>

#include "core/Geometry.h"

namespace kinovia {

// Frame fractions to picture pixels: Round(x x width), Round(y x height), ties to even.
PointI ToPicturePixel(PointD fraction, int width, int height);
std::vector<PointI> ToPicturePixels(std::span<const PointD> fractions, int width, int height);

// The cells of a closed polygon, over its bounding box widened by one pixel on each side. A cell
// is inside when its centre lies inside the polygon or the polygon's outline passes through it,
// so thin and tiny outlines keep their pixels.
struct PolygonMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> inside;  // rows top-down, non-zero inside

  bool Empty() const { return width == 0 || height == 0; }
  bool Inside(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height &&
           inside[static_cast<std::size_t>(y - top) * width + (x - left)] != 0;
  }
};

// Closed automatically when the last vertex differs from the first; empty (no box) with fewer
// than two distinct vertices.
PolygonMask RasterisePolygon(std::span<const PointI> vertices);

// Calls cell(x, y) for every cell of the segment from a to b, ends included (Bresenham).
template <typename Cell>
void ForEachSegmentCell(PointI a, PointI b, Cell&& cell) {
  const int dx = a.x < b.x ? b.x - a.x : a.x - b.x;
  const int dy = a.y < b.y ? a.y - b.y : b.y - a.y;
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    cell(a.x, a.y);
    if (a == b) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      a.x += sx;
    }
    if (twice <= dx) {
      error += dx;
      a.y += sy;
    }
  }
}

// The boundary cells of the circle of that centre and radius (midpoint algorithm), in order
// around it starting from the rightmost cell; the centre alone when the radius is 0.
std::vector<PointI> CircleBoundary(PointI centre, int radius);

// The centre of the outline's extent, the middle of its bounding box; (0, 0) for no point.
PointD ContourCentre(std::span<const PointD> outline);

// The polygon closed: the first vertex appended when the last one differs from it.
std::vector<PointD> ClosedPolygon(std::span<const PointD> vertices);

}  // namespace kinovia
