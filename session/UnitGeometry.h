#pragma once
// Plain points and rectangles shared by the session, the view and the painters.
#include <algorithm>

namespace kinovia {

// A position in frame fractions (0..1 across the picture, y downwards) or any real pair.
struct TPointD {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const TPointD&) const = default;
  TPointD operator+(TPointD o) const { return {x + o.x, y + o.y}; }
  TPointD operator-(TPointD o) const { return {x - o.x, y - o.y}; }
};

// A position in view pixels.
struct TPointI {
  int x = 0;
  int y = 0;

  bool operator==(const TPointI&) const = default;
};

// A rectangle in view pixels, corners in any order until Normalized().
struct TRectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const TRectI&) const = default;
  TRectI Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
  // Borders count as inside.
  bool Contains(TPointI p) const {
    const TRectI r = Normalized();
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
  }
};

}  // namespace kinovia
