#pragma once
// CIE L*u*v* from the picture's bytes and back, and the histogram bins of the tracker. The bytes
// are taken linearly (no gamma removal) with sRGB primaries and the D65 white: the tracker only
// needs colours that are near in the eye to fall into the same bin, not colorimetric truth.
#include <cstdint>

namespace kinovia {

struct Luv {
  double l = 0;
  double u = 0;
  double v = 0;
};

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

Luv RgbToLuv(Rgb colour);
// Black below L = 0.1, where the chromaticity is undefined; channels clamped to 0..255.
Rgb LuvToRgb(Luv colour);

// The extent of u* and v* over the RGB cube, which the bins divide.
inline constexpr double kLuvRangeL = 100.0;
inline constexpr double kLuvRangeU = 258.343113734;
inline constexpr double kLuvRangeV = 241.51879024;

// N bins an axis: a colour's bin is Trunc(value x N / range) clamped to 0..N-1, so negative u*
// and v* fall into bin 0 alongside the small positive ones.
class HistogramBins {
 public:
  explicit HistogramBins(int perAxis);
  int PerAxis() const { return n_; }
  int Count() const { return n_ * n_ * n_; }
  // (L bin x N + u bin) x N + v bin.
  int BinOf(Luv colour) const;
  // The centre colour of a bin.
  Luv CentreOf(int bin) const;

 private:
  int AxisBin(double value, double scale) const;

  int n_;
  double scaleL_;
  double scaleU_;
  double scaleV_;
};

}  // namespace kinovia
