#include "core/LeastSquares.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/Numbers.h"

namespace kinovia {
namespace {

// The quality of the last successful fit, per thread so that a fit elsewhere never changes what
// FitQuality reports here.
thread_local double gLastQuality = 0;

// basis[k * m + j] = T_j(X_k), the Chebyshev polynomials of the mapped abscissas.
std::vector<double> ChebyshevBasis(std::span<const double> mapped, int m) {
  const auto terms = static_cast<std::size_t>(m);
  std::vector<double> basis(mapped.size() * terms);
  for (std::size_t k = 0; k < mapped.size(); ++k) {
    double* row = &basis[k * terms];
    row[0] = 1;
    if (terms > 1) row[1] = mapped[k];
    for (std::size_t j = 2; j < terms; ++j) row[j] = 2 * mapped[k] * row[j - 1] - row[j - 2];
  }
  return basis;
}

// Coefficient of x^j in T_k(a.x + b), for k, j < m, row-major by k.
std::vector<double> PowerExpansion(double a, double b, int m) {
  const auto terms = static_cast<std::size_t>(m);
  std::vector<double> t(terms * terms, 0.0);
  auto at = [&](std::size_t k, std::size_t j) -> double& { return t[k * terms + j]; };
  at(0, 0) = 1;
  if (terms > 1) {
    at(1, 0) = b;
    at(1, 1) = a;
  }
  for (std::size_t k = 2; k < terms; ++k) {
    for (std::size_t j = 0; j <= k; ++j) {
      const double fromHigher = j > 0 ? 2 * a * at(k - 1, j - 1) : 0.0;
      at(k, j) = fromHigher + 2 * b * at(k - 1, j) - at(k - 2, j);
    }
  }
  return t;
}

}  // namespace

bool SolveCompletePivoting(std::vector<double> a, std::vector<double> rhs, std::vector<double>& z) {
  const std::size_t m = rhs.size();
  auto at = [&](std::size_t i, std::size_t j) -> double& { return a[i * m + j]; };
  std::vector<std::size_t> r(m), q(m);
  std::iota(r.begin(), r.end(), 0);
  std::iota(q.begin(), q.end(), 0);
  for (std::size_t s = 0; s < m; ++s) {
    std::size_t bestI = s, bestJ = s;
    for (std::size_t i = s; i < m; ++i) {
      for (std::size_t j = s; j < m; ++j) {
        if (std::fabs(at(r[i], q[j])) > std::fabs(at(r[bestI], q[bestJ]))) {
          bestI = i;
          bestJ = j;
        }
      }
    }
    std::swap(r[s], r[bestI]);
    std::swap(q[s], q[bestJ]);
    const double pivot = at(r[s], q[s]);
    if (IsZero(pivot)) return false;
    for (std::size_t i = s + 1; i < m; ++i) {
      const double multiplier = at(r[i], q[s]) / pivot;
      at(r[i], q[s]) = multiplier;
      for (std::size_t j = s + 1; j < m; ++j) at(r[i], q[j]) -= multiplier * at(r[s], q[j]);
    }
  }
  z.assign(m, 0.0);
  for (std::size_t i = 0; i < m; ++i) {
    double sum = rhs[r[i]];
    for (std::size_t k = 0; k < i; ++k) sum -= at(r[i], q[k]) * z[q[k]];
    z[q[i]] = sum;
  }
  for (std::size_t i = m; i-- > 0;) {
    double sum = z[q[i]];
    for (std::size_t k = i + 1; k < m; ++k) sum -= at(r[i], q[k]) * z[q[k]];
    z[q[i]] = sum / at(r[i], q[i]);
  }
  return true;
}

LsqStatus LeastSquaresFit(int m, std::span<const double> x, std::span<const double> y,
                          std::vector<double>& p) {
  const std::size_t n = std::min(x.size(), y.size());
  x = x.first(n);
  y = y.first(n);
  if (n < 2) return LsqStatus::TooFewPoints;
  if (m > static_cast<int>(n)) m = static_cast<int>(n) - 1;
  if (m < 1) return LsqStatus::NoTerm;
  const double lo = MinOf(x);
  const double hi = MaxOf(x);
  if (IsZero(hi - lo)) return LsqStatus::SameAbscissas;
  const double a = 2 / (hi - lo);
  const double b = -(hi + lo) * a / 2;
  std::vector<double> mapped(n);
  for (std::size_t k = 0; k < n; ++k) mapped[k] = a * x[k] + b;

  const auto terms = static_cast<std::size_t>(m);
  const std::vector<double> basis = ChebyshevBasis(mapped, m);
  std::vector<double> normal(terms * terms, 0.0);
  std::vector<double> rhs(terms, 0.0);
  for (std::size_t i = 0; i < terms; ++i) {
    for (std::size_t j = i; j < terms; ++j) {
      double sum = 0;
      for (std::size_t k = 0; k < n; ++k) sum += basis[k * terms + i] * basis[k * terms + j];
      normal[i * terms + j] = normal[j * terms + i] = sum;
    }
    for (std::size_t k = 0; k < n; ++k) rhs[i] += y[k] * basis[k * terms + i];
  }
  std::vector<double> c;
  if (!SolveCompletePivoting(std::move(normal), std::move(rhs), c)) return LsqStatus::Singular;

  double fittedSquares = 0, dataSquares = 0;
  for (std::size_t k = 0; k < n; ++k) {
    double fitted = 0;
    for (std::size_t j = 0; j < terms; ++j) fitted += c[j] * basis[k * terms + j];
    fittedSquares += fitted * fitted;
    dataSquares += y[k] * y[k];
  }
  gLastQuality = IsZero(dataSquares) ? 0.0 : fittedSquares / dataSquares;

  const std::vector<double> t = PowerExpansion(a, b, m);
  p.assign(terms, 0.0);
  for (std::size_t j = 0; j < terms; ++j)
    for (std::size_t k = j; k < terms; ++k) p[j] += c[k] * t[k * terms + j];
  return LsqStatus::Ok;
}

double FitQuality() { return gLastQuality; }

}  // namespace kinovia
