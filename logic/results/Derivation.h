#pragma once
// Speeds and accelerations of one sampled series: plain three-point differences, or a smoothing
// mode that first asks how well low-degree polynomials describe the whole series and picks the
// derivative rule from the answer.
#include <cstdint>
#include <span>
#include <vector>

#include "core/Enums.h"
#include "core/LeastSquares.h"

namespace kinovia {

// How a derivation ended; kinovia-cli prints the number. A smoothing fit that failed gives its own
// status's number, so the numbers of the fit's failures are the least-squares ones.
enum class DerivationStatus : int {
  Ok = 0,
  FitSingular = 1,
  TooFewSamples = 2,  // fewer than 3 samples: nothing computed
  FitNoTerm = 3,
  FitSameAbscissas = 4,
  NoObject = 5,  // a table without any object has nothing to derive
};

// The smoothing asked of the results' derivatives, by bit position: bit 0 speeds, bit 1
// accelerations (and the angular speed follows the speeds).
enum class DerivationFlag : std::uint8_t { SmoothSpeed = 0, SmoothAcceleration = 1 };
using DerivationFlags = EnumSet<DerivationFlag>;

class Derivation {
 public:
  // abscissas: frame indices counted from the first sample, strictly increasing; values: the
  // sampled quantity; interval: seconds between two frames. Samples beyond the shorter of the two
  // arrays are ignored.
  void SetData(std::span<const double> abscissas, std::span<const double> values, double interval);

  // Ok, TooFewSamples, or the status of a polynomial fit that failed while smoothing (results
  // then incomplete).
  DerivationStatus Compute(bool smooth);

  const std::vector<double>& First() const { return first_; }    // per second
  const std::vector<double>& Second() const { return second_; }  // per second squared

  // The derivative rules; each works on the abscissas a and divides by the frame interval t.
  static std::vector<double> ThreePointDerivative(std::span<const double> a,
                                                  std::span<const double> y, double t);
  static std::vector<double> SlidingSlope(std::span<const double> a, std::span<const double> y,
                                          double t);
  static std::vector<double> PolynomialDerivative(std::span<const double> p,
                                                  std::span<const double> a, double t);
  // The polynomial's derivative pushed 2 % further away from the three-point one.
  static std::vector<double> Blended(std::span<const double> p, std::span<const double> a,
                                     std::span<const double> y, double t);

 private:
  struct Degree {
    int degree = 0;
    LsqStatus status = LsqStatus::Ok;
    std::vector<double> polynomial;
  };
  // The lowest degree from 1 to 4 whose fit to the centred series reproduces more than 99 % of it.
  Degree ChooseDegree(std::span<const double> centred) const;
  DerivationStatus ComputeSmoothed();

  std::vector<double> abscissas_;
  std::vector<double> values_;
  double interval_ = 1;
  std::vector<double> first_;
  std::vector<double> second_;
};

}  // namespace kinovia
