#include "media/samples/SampleRaster.h"

#include <algorithm>
#include <cmath>

namespace kinovia {
namespace {

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// Coverage of a pixel whose centre lies `inside` pixels within a straight edge (negative:
// outside); exact for an edge along a pixel row or column, close for any other.
double EdgeCoverage(double inside) { return Clamp01(inside + 0.5); }

std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0)); }

double Smooth(double t) { return t * t * (3 - 2 * t); }

}  // namespace

double HashUnit(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::uint32_t h =
      a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h / 4294967296.0;
}

double FractalNoise(double x, double y, double cell, int octaves, std::uint32_t seed) {
  double sum = 0;
  double weight = 1;
  double total = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    const double gx = x / cell;
    const double gy = y / cell;
    const double fx = std::floor(gx);
    const double fy = std::floor(gy);
    const auto ix = static_cast<std::uint32_t>(static_cast<std::int64_t>(fx));
    const auto iy = static_cast<std::uint32_t>(static_cast<std::int64_t>(fy));
    const std::uint32_t s = seed + static_cast<std::uint32_t>(octave) * 7919u;
    const double tx = Smooth(gx - fx);
    const double ty = Smooth(gy - fy);
    const double top = HashUnit(ix, iy, s) * (1 - tx) + HashUnit(ix + 1, iy, s) * tx;
    const double bottom = HashUnit(ix, iy + 1, s) * (1 - tx) + HashUnit(ix + 1, iy + 1, s) * tx;
    sum += weight * (top * (1 - ty) + bottom * ty);
    total += weight;
    weight *= 0.5;
    cell *= 0.5;
  }
  return sum / total;
}

SampleRaster::SampleRaster(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void SampleRaster::Blend(int x, int y, SampleRgb colour, double coverage) {
  if (coverage <= 0) return;
  SampleRgb& p = pixels_[Index(x, y)];
  const auto a = static_cast<float>(coverage);
  p.r += (colour.r - p.r) * a;
  p.g += (colour.g - p.g) * a;
  p.b += (colour.b - p.b) * a;
}

template <class Cover>
void SampleRaster::FillBox(double left, double top, double right, double bottom, SampleRgb colour,
                           Cover cover) {
  const int x0 = std::max(0, static_cast<int>(std::floor(left)) - 1);
  const int y0 = std::max(0, static_cast<int>(std::floor(top)) - 1);
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(right)) + 1);
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(bottom)) + 1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) Blend(x, y, colour, cover(x + 0.5, y + 0.5));
}

void SampleRaster::FillDisc(PointD c, double radius, SampleRgb colour) {
  FillRing(c, 0, radius, colour);
}

void SampleRaster::FillRing(PointD c, double inner, double outer, SampleRgb colour) {
  FillBox(c.x - outer, c.y - outer, c.x + outer, c.y + outer, colour, [&](double px, double py) {
    const double d = std::hypot(px - c.x, py - c.y);
    const double in = inner > 0 ? EdgeCoverage(d - inner) : 1.0;
    return std::min(EdgeCoverage(outer - d), in);
  });
}

void SampleRaster::FillBar(PointD a, PointD b, double width, SampleRgb colour) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (length <= 0) return;
  const double ux = (b.x - a.x) / length;
  const double uy = (b.y - a.y) / length;
  const double half = width / 2;
  FillBox(std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
          std::max(a.y, b.y) + half, colour, [&](double px, double py) {
            const double along = (px - a.x) * ux + (py - a.y) * uy;
            const double across = -(px - a.x) * uy + (py - a.y) * ux;
            return EdgeCoverage(half - std::abs(across)) *
                   EdgeCoverage(length / 2 - std::abs(along - length / 2));
          });
}

void SampleRaster::FillRectangle(double left, double top, double right, double bottom,
                                 SampleRgb colour) {
  FillBox(left, top, right, bottom, colour, [&](double px, double py) {
    const double wide = std::min(right, px + 0.5) - std::max(left, px - 0.5);
    const double high = std::min(bottom, py + 0.5) - std::max(top, py - 0.5);
    return Clamp01(wide) * Clamp01(high);
  });
}

void SampleRaster::FillConvex(std::span<const PointD> corners, SampleRgb colour) {
  if (corners.size() < 3) return;
  double left = corners[0].x, right = left, top = corners[0].y, bottom = top;
  double area = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const PointD& p = corners[i];
    const PointD& q = corners[(i + 1) % corners.size()];
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
    area += p.x * q.y - q.x * p.y;
  }
  const double turn = area >= 0 ? 1.0 : -1.0;
  FillBox(left, top, right, bottom, colour, [&](double px, double py) {
    double inside = 1e9;
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const PointD& p = corners[i];
      const PointD& q = corners[(i + 1) % corners.size()];
      const double length = std::hypot(q.x - p.x, q.y - p.y);
      if (length <= 0) continue;
      const double cross = (q.x - p.x) * (py - p.y) - (q.y - p.y) * (px - p.x);
      inside = std::min(inside, turn * cross / length);
    }
    return EdgeCoverage(inside);
  });
}

std::vector<std::uint8_t> SampleRaster::ToRgb24(std::uint32_t noiseSeed, double noise) const {
  std::vector<std::uint8_t> out(pixels_.size() * 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const std::size_t i = Index(x, y);
      const auto ux = static_cast<std::uint32_t>(x);
      const auto uy = static_cast<std::uint32_t>(y);
      // Two uniform draws summed: a bell-shaped grain, brighter and darker alike.
      const double grain =
          noise * (HashUnit(ux, uy, noiseSeed) + HashUnit(uy, ux, noiseSeed ^ 0xA5A5u) - 1.0);
      out[3 * i] = ToByte(pixels_[i].r + grain);
      out[3 * i + 1] = ToByte(pixels_[i].g + grain);
      out[3 * i + 2] = ToByte(pixels_[i].b + grain);
    }
  }
  return out;
}

}  // namespace kinovia
