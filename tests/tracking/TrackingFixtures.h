#pragma once
// Small synthetic frames for the tracking tests: a flat background with coloured discs and
// blocks at known places, and the circular contours a user would draw round them.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "logic/tracking/MeanShift.h"

namespace kinovia::test {

struct Frame {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  Frame(int w, int h, Rgb background) : width(w), height(h), pixels(std::size_t(w) * h * 3) {
    for (std::size_t i = 0; i < pixels.size(); i += 3) SetAt(i, background);
  }
  void SetAt(std::size_t i, Rgb c) {
    pixels[i] = c.r;
    pixels[i + 1] = c.g;
    pixels[i + 2] = c.b;
  }
  void Set(int x, int y, Rgb c) { SetAt((std::size_t(y) * width + x) * 3, c); }
  // Pixels whose centres lie within `radius` of the centre (picture coordinates).
  void Disc(double cx, double cy, double radius, Rgb c) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) Set(x, y, c);
  }
  void Block(int left, int top, int right, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y, c);
  }
  RgbView View() const { return {pixels.data(), width, height}; }
};

inline constexpr Rgb kGrass{70, 140, 60};
inline constexpr Rgb kRed{205, 40, 32};
inline constexpr Rgb kBlue{36, 70, 200};

// A 24-vertex polygon round the circle, in frame fractions.
inline std::vector<PointD> CircleContour(double cx, double cy, double radius, int width,
                                         int height) {
  std::vector<PointD> contour;
  for (int i = 0; i < 24; ++i) {
    const double a = 2 * std::numbers::pi * i / 24;
    contour.push_back({(cx + radius * std::cos(a)) / width, (cy + radius * std::sin(a)) / height});
  }
  return contour;
}

}  // namespace kinovia::test
