#include "logic/results/Derivation.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace kinovia {
namespace {

// Below this spread (in the unit of the series) the object is taken as still.
constexpr double kStillSpread = 0.01;
// Below this spread of the speeds the motion is taken as uniform.
constexpr double kUniformSpeedSpread = 0.1;
constexpr double kGoodFit = 0.99;
constexpr int kHighestDegree = 4;
constexpr double kBlendStep = 0.02;

std::vector<double> Centred(std::span<const double> v) {
  const double mean = MeanOf(v);
  std::vector<double> c(v.begin(), v.end());
  for (double& x : c) x -= mean;
  return c;
}

bool RmsBelow(std::span<const double> v, double threshold) {
  if (v.empty()) return false;
  double sum = 0;
  for (double x : v) sum += x * x;
  return std::sqrt(sum / static_cast<double>(v.size())) < threshold;
}

// The slope at the first (or last) of three samples of the parabola through them. On equal
// spacing it is (-3 y0 + 4 y1 - y2) / 2h (and its mirror); with a missing frame beside an end it
// stays exact for uniform and uniformly accelerated motion, where dividing the equal-spacing
// numerator by the span would not (a speed several times too small on the first row).
double EndSlope(std::span<const double> a, std::span<const double> y, bool first) {
  const double h1 = a[1] - a[0], h2 = a[2] - a[1], h = h1 + h2;
  if (first) return -(2 * h1 + h2) / (h1 * h) * y[0] + h / (h1 * h2) * y[1] - h1 / (h2 * h) * y[2];
  return h2 / (h1 * h) * y[0] - h / (h1 * h2) * y[1] + (2 * h2 + h1) / (h2 * h) * y[2];
}

DerivationStatus StatusOfFailedFit(LsqStatus fit) {
  switch (fit) {
    case LsqStatus::Singular:
      return DerivationStatus::FitSingular;
    case LsqStatus::TooFewPoints:
      return DerivationStatus::TooFewSamples;
    case LsqStatus::NoTerm:
      return DerivationStatus::FitNoTerm;
    case LsqStatus::SameAbscissas:
      return DerivationStatus::FitSameAbscissas;
    case LsqStatus::Ok:
      break;
  }
  return DerivationStatus::Ok;
}

}  // namespace

void Derivation::SetData(std::span<const double> abscissas, std::span<const double> values,
                         double interval) {
  const std::size_t n = std::min(abscissas.size(), values.size());
  abscissas_.assign(abscissas.begin(), abscissas.begin() + static_cast<std::ptrdiff_t>(n));
  values_.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n));
  interval_ = interval;
  first_.assign(n, 0.0);
  second_.assign(n, 0.0);
}

std::vector<double> Derivation::ThreePointDerivative(std::span<const double> a,
                                                     std::span<const double> y, double t) {
  const std::size_t n = a.size();
  std::vector<double> d(n, 0.0);
  if (n < 3) return d;
  d[0] = EndSlope(a.subspan(0, 3), y.subspan(0, 3), true) / t;
  for (std::size_t i = 1; i + 1 < n; ++i) d[i] = (y[i + 1] - y[i - 1]) / (a[i + 1] - a[i - 1]) / t;
  d[n - 1] = EndSlope(a.subspan(n - 3, 3), y.subspan(n - 3, 3), false) / t;
  return d;
}

std::vector<double> Derivation::SlidingSlope(std::span<const double> a, std::span<const double> y,
                                             double t) {
  const std::size_t n = a.size();
  std::vector<double> d(n, 0.0);
  if (n < 3) return d;
  std::vector<double> line;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t start = std::clamp<std::size_t>(i, 1, n - 2) - 1;
    const std::vector<double> window = Centred(y.subspan(start, 3));
    // Three distinct abscissas always give a line; should it fail, the slope stays 0.
    line.assign(2, 0.0);
    LeastSquaresFit(2, a.subspan(start, 3), window, line);
    d[i] = line[1] / t;
  }
  return d;
}

std::vector<double> Derivation::PolynomialDerivative(std::span<const double> p,
                                                     std::span<const double> a, double t) {
  std::vector<double> d(a.size(), 0.0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    double sum = 0;
    for (std::size_t k = p.size(); k-- > 1;) sum = sum * a[i] + static_cast<double>(k) * p[k];
    d[i] = sum / t;
  }
  return d;
}

std::vector<double> Derivation::Blended(std::span<const double> p, std::span<const double> a,
                                        std::span<const double> y, double t) {
  std::vector<double> d = PolynomialDerivative(p, a, t);
  const std::vector<double> f = ThreePointDerivative(a, y, t);
  for (std::size_t i = 0; i < d.size(); ++i) d[i] += kBlendStep * (d[i] - f[i]);
  return d;
}

Derivation::Degree Derivation::ChooseDegree(std::span<const double> centred) const {
  Degree result;
  for (int s = 1; s <= kHighestDegree; ++s) {
    result.degree = s;
    result.status = LeastSquaresFit(s + 1, abscissas_, centred, result.polynomial);
    if (result.status != LsqStatus::Ok || FitQuality() > kGoodFit) break;
  }
  return result;
}

DerivationStatus Derivation::Compute(bool smooth) {
  if (abscissas_.size() < 3) return DerivationStatus::TooFewSamples;
  if (smooth) return ComputeSmoothed();
  first_ = ThreePointDerivative(abscissas_, values_, interval_);
  second_ = ThreePointDerivative(abscissas_, first_, interval_);
  return DerivationStatus::Ok;
}

DerivationStatus Derivation::ComputeSmoothed() {
  const std::vector<double> zero{0.0};
  Degree shape;
  const std::vector<double> centred = Centred(values_);
  if (!RmsBelow(centred, kStillSpread)) {
    shape = ChooseDegree(centred);
    if (shape.status != LsqStatus::Ok) return StatusOfFailedFit(shape.status);
  }
  if (shape.degree <= 1)
    first_ = SlidingSlope(abscissas_, values_, interval_);
  else if (shape.degree <= 3)
    first_ = Blended(shape.polynomial, abscissas_, values_, interval_);
  else
    first_ = ThreePointDerivative(abscissas_, values_, interval_);

  if (shape.degree == 0) {
    second_ = Blended(zero, abscissas_, first_, interval_);
  } else if (shape.degree == 1) {
    if (RmsBelow(Centred(first_), kUniformSpeedSpread)) {
      second_ = Blended(zero, abscissas_, first_, interval_);
    } else {
      first_ = ThreePointDerivative(abscissas_, values_, interval_);
      second_ = ThreePointDerivative(abscissas_, first_, interval_);
    }
  } else {
    const Degree speed = ChooseDegree(Centred(first_));
    if (speed.status != LsqStatus::Ok) return StatusOfFailedFit(speed.status);
    if (speed.degree == 1)
      second_ = SlidingSlope(abscissas_, first_, interval_);
    else if (speed.degree <= 3)
      second_ = PolynomialDerivative(speed.polynomial, abscissas_, interval_);
    else
      second_ = ThreePointDerivative(abscissas_, first_, interval_);
  }
  return DerivationStatus::Ok;
}

}  // namespace kinovia
