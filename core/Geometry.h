#pragma once
// Plain points and rectangles shared by the session, the view and the painters.
#include <algorithm>

namespace kinovia {

// A position in frame fractions (0..1 across the picture, y downwards) or any real pair.
struct PointD {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const PointD&) const = default;
  PointD operator+(PointD o) const { return {x + o.x, y + o.y}; }
  PointD operator-(PointD o) const { return {x - o.x, y - o.y}; }
};

// A position in view pixels.
struct PointI {
  int x = 0;
  int y = 0;

  bool operator==(const PointI&) const = default;
};

// A rectangle in view pixels, corners in any order until Normalized().
struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const RectI&) const = default;
  RectI Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
  // Borders count as inside.
  bool Contains(PointI p) const {
    const RectI r = Normalized();
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
  }
};

}  // namespace kinovia
