#pragma once
// A floating-point RGB picture with anti-aliased shapes, for rendering the sample clips. Pixel
// (i, j) covers [i, i+1) x [j, j+1), so a shape centred at (x, y) has its centroid at (x, y)
// exactly, and the truth written beside a clip is where the drawn object really is.
#include <cstdint>
#include <span>
#include <vector>

#include "core/Geometry.h"

namespace kinovia {

struct SampleRgb {
  float r = 0;
  float g = 0;
  float b = 0;
};

class SampleRaster {
 public:
  SampleRaster(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  SampleRgb At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, SampleRgb colour) { pixels_[Index(x, y)] = colour; }

  // Coverage of each pixel by the shape mixes `colour` over what is there.
  void FillDisc(PointD centre, double radius, SampleRgb colour);
  void FillRing(PointD centre, double inner, double outer, SampleRgb colour);
  // A bar of the given width along [a, b] with square ends.
  void FillBar(PointD a, PointD b, double width, SampleRgb colour);
  void FillRectangle(double left, double top, double right, double bottom, SampleRgb colour);
  // A convex polygon whose points go round in either direction.
  void FillConvex(std::span<const PointD> corners, SampleRgb colour);

  // 8-bit RGB rows top down, with deterministic sensor noise of about `noise` levels.
  std::vector<std::uint8_t> ToRgb24(std::uint32_t noiseSeed, double noise) const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  void Blend(int x, int y, SampleRgb colour, double coverage);
  // Calls cover(px, py) for the pixel centres of a box and blends by its answer in [0, 1].
  template <class Cover>
  void FillBox(double left, double top, double right, double bottom, SampleRgb colour, Cover cover);

  int width_;
  int height_;
  std::vector<SampleRgb> pixels_;
};

// Deterministic hash of a few integers into [0, 1).
double HashUnit(std::uint32_t a, std::uint32_t b, std::uint32_t c);

// Smooth procedural value noise in [0, 1) with `octaves` octaves, the first of period `cell`.
double FractalNoise(double x, double y, double cell, int octaves, std::uint32_t seed);

}  // namespace kinovia
