#include "logic/tracking/Contour.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace kinovia {
namespace {

// The columns x where the scan line through cell centres of row y crosses the polygon's edges;
// an edge counts for y in [lower end, upper end) so shared vertices are counted once.
void Crossings(std::span<const PointI> ring, int y, std::vector<double>& xs) {
  xs.clear();
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    const PointI a = ring[i];
    const PointI b = ring[i + 1];
    if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
      xs.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) / (b.y - a.y));
  }
  std::sort(xs.begin(), xs.end());
}

std::vector<PointI> ClosedRing(std::span<const PointI> vertices) {
  std::vector<PointI> ring(vertices.begin(), vertices.end());
  if (!ring.empty() && !(ring.back() == ring.front())) ring.push_back(ring.front());
  return ring;
}

}  // namespace

PointI ToPicturePixel(PointD fraction, int width, int height) {
  return {RoundToInt(fraction.x * width), RoundToInt(fraction.y * height)};
}

std::vector<PointI> ToPicturePixels(std::span<const PointD> fractions, int width, int height) {
  std::vector<PointI> pixels;
  pixels.reserve(fractions.size());
  for (const PointD& f : fractions) pixels.push_back(ToPicturePixel(f, width, height));
  return pixels;
}

PolygonMask RasterisePolygon(std::span<const PointI> vertices) {
  PolygonMask mask;
  if (vertices.empty()) return mask;
  const bool distinct = std::any_of(vertices.begin(), vertices.end(),
                                    [&](PointI p) { return !(p == vertices.front()); });
  if (!distinct) return mask;
  const auto [minX, maxX] = std::minmax_element(vertices.begin(), vertices.end(),
                                                [](PointI a, PointI b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(vertices.begin(), vertices.end(),
                                                [](PointI a, PointI b) { return a.y < b.y; });
  mask.left = minX->x - 1;
  mask.top = minY->y - 1;
  mask.width = maxX->x - minX->x + 3;
  mask.height = maxY->y - minY->y + 3;
  mask.inside.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);
  const std::vector<PointI> ring = ClosedRing(vertices);
  std::vector<double> xs;
  for (int row = 0; row < mask.height; ++row) {
    Crossings(ring, mask.top + row, xs);
    std::uint8_t* line = mask.inside.data() + static_cast<std::size_t>(row) * mask.width;
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int from = static_cast<int>(std::ceil(xs[i])) - mask.left;
      const int to = static_cast<int>(std::floor(xs[i + 1])) - mask.left;
      for (int col = std::max(from, 0); col <= std::min(to, mask.width - 1); ++col) line[col] = 1;
    }
  }
  for (std::size_t i = 0; i + 1 < ring.size(); ++i)
    ForEachSegmentCell(ring[i], ring[i + 1], [&](int x, int y) {
      mask.inside[static_cast<std::size_t>(y - mask.top) * mask.width + (x - mask.left)] = 1;
    });
  return mask;
}

std::vector<PointI> CircleBoundary(PointI centre, int radius) {
  if (radius <= 0) return {centre};
  // One octant from the rightmost cell upwards, then mirrored octant by octant so the cells
  // follow each other around the circle.
  std::vector<PointI> octant;
  int x = radius;
  int y = 0;
  int decision = 1 - radius;
  while (y <= x) {
    octant.push_back({x, y});
    ++y;
    if (decision < 0) {
      decision += 2 * y + 1;
    } else {
      --x;
      decision += 2 * (y - x) + 1;
    }
  }
  std::vector<PointI> cells;
  cells.reserve(octant.size() * 8);
  auto add = [&](int dx, int dy) {
    const PointI p{centre.x + dx, centre.y + dy};
    if (cells.empty() || !(cells.back() == p)) cells.push_back(p);
  };
  for (const PointI& p : octant) add(p.x, -p.y);
  for (auto it = octant.rbegin(); it != octant.rend(); ++it) add(it->y, -it->x);
  for (const PointI& p : octant) add(-p.y, -p.x);
  for (auto it = octant.rbegin(); it != octant.rend(); ++it) add(-it->x, -it->y);
  for (const PointI& p : octant) add(-p.x, p.y);
  for (auto it = octant.rbegin(); it != octant.rend(); ++it) add(-it->y, it->x);
  for (const PointI& p : octant) add(p.y, p.x);
  for (auto it = octant.rbegin(); it != octant.rend(); ++it) add(it->x, it->y);
  if (cells.size() > 1 && cells.back() == cells.front()) cells.pop_back();
  return cells;
}

PointD ContourCentre(std::span<const PointD> outline) {
  if (outline.empty()) return {};
  const auto [minX, maxX] = std::minmax_element(outline.begin(), outline.end(),
                                                [](PointD a, PointD b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(outline.begin(), outline.end(),
                                                [](PointD a, PointD b) { return a.y < b.y; });
  return {(minX->x + maxX->x) / 2, (minY->y + maxY->y) / 2};
}

std::vector<PointD> ClosedPolygon(std::span<const PointD> vertices) {
  std::vector<PointD> closed(vertices.begin(), vertices.end());
  if (!closed.empty() && !(closed.back() == closed.front())) closed.push_back(closed.front());
  return closed;
}

}  // namespace kinovia
