#include "logic/tracking/ColourSpaces.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace kinovia {
namespace {

constexpr double kWhiteU = 0.19784977571475;
constexpr double kWhiteV = 0.46834507665248;
constexpr double kLightnessThreshold = 0.008856;
constexpr double kLightnessSlope = 903.3;
constexpr double kTiny = 1e-100;

std::uint8_t ToByte(double channel) {
  return static_cast<std::uint8_t>(std::clamp(RoundToInt(255.0 * channel), 0, 255));
}

}  // namespace

Luv RgbToLuv(Rgb c) {
  const double r = c.r;
  const double g = c.g;
  const double b = c.b;
  const double x = 0.4125 * r + 0.3576 * g + 0.1804 * b;
  const double y = 0.2125 * r + 0.7154 * g + 0.0721 * b;
  const double z = 0.0193 * r + 0.1192 * g + 0.9502 * b;
  const double yn = y / 255.0;
  const double l =
      yn <= kLightnessThreshold ? kLightnessSlope * yn : 116.0 * std::pow(yn, 0.33333333333) - 16.0;
  const double d = x + 15.0 * y + 3.0 * z;
  const bool black = std::fabs(d) < kTiny;
  const double uPrime = black ? 4.0 : 4.0 * x / d;
  const double vPrime = black ? 0.6 : 9.0 * y / d;
  return {l, 13.0 * l * (uPrime - kWhiteU), 13.0 * l * (vPrime - kWhiteV)};
}

Rgb LuvToRgb(Luv c) {
  if (c.l < 0.1) return {};
  const double y = c.l >= 8.0 ? std::pow((c.l + 16.0) / 116.0, 3) : c.l / kLightnessSlope;
  const double uPrime = c.u / (13.0 * c.l) + kWhiteU;
  const double vPrime = c.v / (13.0 * c.l) + kWhiteV;
  const double x = 9.0 * uPrime * y / (4.0 * vPrime);
  const double z = (12.0 - 3.0 * uPrime - 20.0 * vPrime) * y / (4.0 * vPrime);
  return {ToByte(3.2405 * x - 1.5371 * y - 0.4985 * z),
          ToByte(-0.9693 * x + 1.876 * y + 0.0416 * z),
          ToByte(0.0556 * x - 0.204 * y + 1.0573 * z)};
}

HistogramBins::HistogramBins(int perAxis)
    : n_(std::max(1, perAxis)),
      scaleL_(n_ / kLuvRangeL),
      scaleU_(n_ / kLuvRangeU),
      scaleV_(n_ / kLuvRangeV) {}

int HistogramBins::AxisBin(double value, double scale) const {
  // Clamped as a real first: a huge value must not overflow the integer conversion.
  const double scaled = std::clamp(value * scale, 0.0, static_cast<double>(n_ - 1));
  return static_cast<int>(scaled);
}

int HistogramBins::BinOf(Luv c) const {
  return (AxisBin(c.l, scaleL_) * n_ + AxisBin(c.u, scaleU_)) * n_ + AxisBin(c.v, scaleV_);
}

Luv HistogramBins::CentreOf(int bin) const {
  const int i = bin / (n_ * n_);
  const int j = bin / n_ % n_;
  const int k = bin % n_;
  return {(i + 0.5) * kLuvRangeL / n_, (j + 0.5) * kLuvRangeU / n_, (k + 0.5) * kLuvRangeV / n_};
}

}  // namespace kinovia
