#pragma once
// Polynomial least squares for the smoothing of derivatives and the linear models. The fit is
// done in a Chebyshev basis of the abscissas mapped onto [-1, 1], so times far from 0 keep their
// accuracy, and converted back to power coefficients at the end.
#include <span>
#include <vector>

namespace kinovia {

// How a fit ended; kinovia-cli prints the number.
enum class LsqStatus : int {
  Ok = 0,
  Singular = 1,       // the normal system has no unique solution
  TooFewPoints = 2,   // fewer than 2 points
  NoTerm = 3,         // fewer than 1 term left after the reduction
  SameAbscissas = 4,  // every abscissa equal
};

// Fits y = p0 + p1.x + ... + p(m-1).x^(m-1). More terms than points are reduced to n - 1 terms.
// On success p holds the (possibly reduced) m power coefficients, p0 first; on failure p is left
// as it was. Points beyond the shorter of x and y are ignored.
LsqStatus LeastSquaresFit(int m, std::span<const double> x, std::span<const double> y,
                          std::vector<double>& p);

// For the last successful fit on this thread: sum of the squared fitted values over the sum of
// the squared ordinates (0 when the ordinates are all 0). On centred data, the coefficient of
// determination.
double FitQuality();

// Solves a.z = rhs (a is m x m, row-major) by Gaussian elimination with complete pivoting.
// Returns false when a pivot is zero in the sense of IsZero.
bool SolveCompletePivoting(std::vector<double> a, std::vector<double> rhs, std::vector<double>& z);

}  // namespace kinovia
