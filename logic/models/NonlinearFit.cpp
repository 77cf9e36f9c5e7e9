#include "logic/models/NonlinearFit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Numbers.h"

namespace kinovia {
namespace {

constexpr double kConvergence = 1e-5;
constexpr int kMaxIterations = 50;
constexpr double kChi2Cap = 1e30;
constexpr double kAcceptedRise = 1e-10;  // relative rise of chi2 still taken as no rise
constexpr double kFirstDamping = 0.01;
constexpr double kMaxDamping = 1000;
constexpr double kGoldenRatio = 1.618034;
constexpr double kGoldenSection = 0.381966;
constexpr double kLineTolerance = 0.01;
constexpr int kMaxLineIterations = 100;
// Each expansion multiplies the step by 2.6; past this many the step has left any scale that
// data can have and chi2 sits at its cap.
constexpr int kMaxBracketExpansions = 200;
constexpr double kEpsilon = 2.220446049250313e-16;
constexpr double kStartDamping = -0.05;
constexpr double kRootTolerance = 1e-9;
constexpr int kFirstSearchHalvings = 24;
constexpr int kSecondSearchHalvings = 30;
constexpr double kHalfPi = std::numbers::pi / 2;

constexpr int kFaults = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;

using Vector = std::vector<double>;

bool IsSinusoid(ModelKind kind) {
  return kind == ModelKind::Sinus || kind == ModelKind::SinusExp || kind == ModelKind::SinusLin;
}

// Where the dry-friction oscillator stops for one set of parameters: once t reaches the turning
// point t0, its value stays at `value`.
struct DryStop {
  bool stops = false;
  double t0 = 0;
  double value = 0;
};

double DryFrictionPlain(const std::array<double, 4>& a, double t) {
  return a[0] * std::sin(a[1] * t + a[2]) * (1 + a[3] * t);
}

DryStop FindDryStop(const std::array<double, 4>& a) {
  const double amplitude = a[0], omega = a[1], phi = a[2], k = a[3];
  DryStop stop;
  // A zero damping never stops; a pulsation that is not positive leaves no interval to search.
  if (IsZero(k) || !(omega > 0)) return stop;
  const double u = kHalfPi / omega;
  const double ta = -1 / k - 2 * u;
  const double tb = -1 / k - u;
  auto g = [&](double t) {
    return omega * std::cos(omega * t + phi) * (1 + k * t) + k * std::sin(omega * t + phi);
  };
  const auto first = BisectRoot(g, ta, tb, kFirstSearchHalvings, kRootTolerance);
  std::optional<double> root;
  if (first) {
    const double value = DryFrictionPlain(a, *first);
    // With a zero phase the window around the amplitude is unbounded.
    const double p = IsZero(phi) ? 0 : kHalfPi * omega * k / phi;
    if (IsZero(phi) || (amplitude + p <= value && value <= amplitude - p)) root = first;
  }
  if (!root) {
    root = BisectRoot(g, ta + u, tb + u, kSecondSearchHalvings, kRootTolerance);
    if (!root) root = first;
  }
  if (!root) return stop;
  stop.stops = true;
  stop.t0 = *root;
  stop.value = DryFrictionPlain(a, *root);
  return stop;
}

double DryFrictionAt(const std::array<double, 4>& a, const DryStop& stop, double t) {
  if (!stop.stops || t < stop.t0) return DryFrictionPlain(a, t);
  return stop.value;
}

// Solves m.x = b (n x n, row-major) by Gauss-Jordan elimination with full pivoting.
FitStatus GaussJordan(Vector m, Vector b, Vector& x) {
  const std::size_t n = b.size();
  auto at = [&](std::size_t i, std::size_t j) -> double& { return m[i * n + j]; };
  std::vector<std::size_t> rowOf(n), columnOf(n);
  std::vector<bool> used(n, false);
  for (std::size_t step = 0; step < n; ++step) {
    double big = -1;
    std::size_t row = 0, column = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (used[i]) continue;
      for (std::size_t j = 0; j < n; ++j) {
        if (!used[j] && std::fabs(at(i, j)) > big) {
          big = std::fabs(at(i, j));
          row = i;
          column = j;
        }
      }
    }
    if (big < kEpsilon) return FitStatus::Singular;
    used[column] = true;
    if (row != column) {
      for (std::size_t j = 0; j < n; ++j) std::swap(at(row, j), at(column, j));
      std::swap(b[row], b[column]);
    }
    rowOf[step] = row;
    columnOf[step] = column;
    const double inverse = 1 / at(column, column);
    at(column, column) = 1;
    for (std::size_t j = 0; j < n; ++j) at(column, j) *= inverse;
    b[column] *= inverse;
    for (std::size_t i = 0; i < n; ++i) {
      if (i == column) continue;
      const double factor = at(i, column);
      at(i, column) = 0;
      for (std::size_t j = 0; j < n; ++j) at(i, j) -= at(column, j) * factor;
      b[i] -= b[column] * factor;
    }
  }
  // The inverse left in m is not needed: only the solution is kept.
  x = std::move(b);
  return FitStatus::Ok;
}

// One fit: the points (ordinates centred for the sinusoids) and the model kind.
class FitResult {
 public:
  FitResult(std::span<const double> x, Vector y, ModelKind kind)
      : x_(x), y_(std::move(y)), kind_(kind) {}

  FitStatus Run(Vector& a) const;

 private:
  double Chi2(const Vector& a) const;
  void CurvatureAndGradient(const Vector& a, Vector& alpha, Vector& beta) const;
  void Derivatives(const Vector& a, double t, double* d) const;
  Vector ValuesAt(const Vector& a) const;
  FitStatus LineSearch(const Vector& a0, const Vector& delta, Vector& a, double& chi2) const;
  FitStatus DampedStep(const Vector& alpha, const Vector& beta, double& lambda, double chi2,
                       const Vector& aOld, Vector& a, double& chi2New) const;

  std::span<const double> x_;
  Vector y_;
  ModelKind kind_;
};

Vector FitResult::ValuesAt(const Vector& a) const {
  Vector v(x_.size());
  if (kind_ == ModelKind::Exponential) {
    for (std::size_t i = 0; i < x_.size(); ++i) v[i] = a[0] + a[1] * std::exp(a[2] * x_[i]);
  } else if (kind_ == ModelKind::Sinus) {
    for (std::size_t i = 0; i < x_.size(); ++i) v[i] = a[0] * std::sin(a[1] * x_[i] + a[2]);
  } else if (kind_ == ModelKind::SinusExp) {
    for (std::size_t i = 0; i < x_.size(); ++i)
      v[i] = a[0] * std::sin(a[1] * x_[i] + a[2]) * std::exp(a[3] * x_[i]);
  } else {
    const std::array<double, 4> p{a[0], a[1], a[2], a[3]};
    const DryStop stop = FindDryStop(p);
    for (std::size_t i = 0; i < x_.size(); ++i) v[i] = DryFrictionAt(p, stop, x_[i]);
  }
  return v;
}

void FitResult::Derivatives(const Vector& a, double t, double* d) const {
  if (kind_ == ModelKind::Exponential) {
    const double e = std::exp(a[2] * t);
    d[0] = 1;
    d[1] = e;
    d[2] = a[1] * t * e;
    return;
  }
  const double s = std::sin(a[1] * t + a[2]);
  const double c = std::cos(a[1] * t + a[2]);
  double envelope = 1;
  if (kind_ == ModelKind::SinusExp) envelope = std::exp(a[3] * t);
  if (kind_ == ModelKind::SinusLin) envelope = 1 + a[3] * t;
  d[0] = s * envelope;
  d[1] = a[0] * t * c * envelope;
  d[2] = a[0] * c * envelope;
  if (kind_ == ModelKind::SinusExp) d[3] = a[0] * t * s * envelope;
  if (kind_ == ModelKind::SinusLin) d[3] = a[0] * t * s;
}

// A trial point whose model overflows is as bad as a point can be: it gets the capped chi2 and
// the search goes on, instead of the whole fit ending on a step it would have rejected anyway.
double FitResult::Chi2(const Vector& a) const {
  const ArithmeticWatch watch;
  const Vector v = ValuesAt(a);
  double sum = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const double d = y_[i] - v[i];
    sum += d * d;
    if (sum > kChi2Cap) return kChi2Cap;
  }
  return watch.Faulted() || std::isnan(sum) ? kChi2Cap : sum;
}

void FitResult::CurvatureAndGradient(const Vector& a, Vector& alpha, Vector& beta) const {
  const std::size_t n = a.size();
  alpha.assign(n * n, 0.0);
  beta.assign(n, 0.0);
  const Vector v = ValuesAt(a);
  Vector d(n);
  for (std::size_t i = 0; i < x_.size(); ++i) {
    Derivatives(a, x_[i], d.data());
    const double residual = y_[i] - v[i];
    for (std::size_t j = 0; j < n; ++j) {
      for (std::size_t l = j; l < n; ++l) alpha[j * n + l] += d[j] * d[l];
      beta[j] += residual * d[j];
    }
  }
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t l = 0; l < j; ++l) alpha[j * n + l] = alpha[l * n + j];
}

FitStatus FitResult::LineSearch(const Vector& a0, const Vector& delta, Vector& a,
                                double& chi2) const {
  Vector trial(a0.size());
  auto f = [&](double s) {
    for (std::size_t i = 0; i < a0.size(); ++i) trial[i] = a0[i] + s * delta[i];
    return Chi2(trial);
  };
  // Bracket the minimum, walking downhill by golden-ratio steps.
  double s1 = 0, s2 = 1, f1 = f(s1), f2 = f(s2);
  if (f1 < f2) {
    std::swap(s1, s2);
    std::swap(f1, f2);
  }
  double s3 = s2 + kGoldenRatio * (s2 - s1), f3 = f(s3);
  for (int i = 0; f3 < f2 && i < kMaxBracketExpansions; ++i) {
    s1 = s2;
    s2 = s3;
    f2 = f3;
    s3 = s2 + kGoldenRatio * (s2 - s1);
    f3 = f(s3);
  }
  if (s1 > s3) std::swap(s1, s3);

  // Golden-section search inside the bracket (s1, s2, s3).
  const double tolerance = std::max(kLineTolerance, std::sqrt(kEpsilon));
  double x0 = s1, x3 = s3, x1, x2;
  if (std::fabs(s3 - s2) > std::fabs(s2 - s1)) {
    x1 = s2;
    x2 = s2 + kGoldenSection * (s3 - s2);
  } else {
    x2 = s2;
    x1 = s2 - kGoldenSection * (s2 - s1);
  }
  double g1 = f(x1), g2 = f(x2);
  int count = 0;
  while (count <= kMaxLineIterations &&
         std::fabs(x3 - x0) > tolerance * (std::fabs(x1) + std::fabs(x2))) {
    if (g2 < g1) {
      x0 = x1;
      x1 = x2;
      x2 = (1 - kGoldenSection) * x1 + kGoldenSection * x3;
      g1 = g2;
      g2 = f(x2);
    } else {
      x3 = x2;
      x2 = x1;
      x1 = (1 - kGoldenSection) * x2 + kGoldenSection * x0;
      g2 = g1;
      g1 = f(x1);
    }
    ++count;
  }
  const double best = g1 < g2 ? x1 : x2;
  chi2 = std::min(g1, g2);
  if (count > kMaxLineIterations) return FitStatus::IterationLimit;
  for (std::size_t i = 0; i < a0.size(); ++i) a[i] = a0[i] + best * delta[i];
  return FitStatus::Ok;
}

// Damped solves and line searches from aOld until chi2 does not rise, raising the damping after
// each rejection.
FitStatus FitResult::DampedStep(const Vector& alpha, const Vector& beta, double& lambda,
                                double chi2, const Vector& aOld, Vector& a, double& chi2New) const {
  const std::size_t n = beta.size();
  FitStatus status = FitStatus::Ok;
  bool accepted = false;
  while (!accepted && status == FitStatus::Ok) {
    Vector damped = alpha;
    for (std::size_t j = 0; j < n; ++j) damped[j * n + j] *= 1 + lambda;
    Vector delta;
    status = GaussJordan(std::move(damped), beta, delta);
    if (status != FitStatus::Ok) {
      a = aOld;  // the parameters of the last accepted step
      break;
    }
    a = aOld;
    status = LineSearch(aOld, delta, a, chi2New);
    accepted = chi2New - chi2 < kAcceptedRise * chi2;
    if (!accepted) lambda *= 10;
    if (lambda > kMaxDamping) status = FitStatus::DampingTooLarge;
  }
  return status;
}

FitStatus FitResult::Run(Vector& a) const {
  const ArithmeticWatch watch;
  double lambda = kFirstDamping;
  double chi2 = Chi2(a);
  int iteration = 1;
  bool converged = false;
  bool finished = false;
  FitStatus status = FitStatus::Ok;
  Vector alpha, beta;
  while (!finished && status == FitStatus::Ok) {
    const Vector aOld = a;
    CurvatureAndGradient(a, alpha, beta);
    if (converged) {
      Vector delta;
      status = GaussJordan(alpha, beta, delta);
      if (status == FitStatus::Ok)
        for (std::size_t i = 0; i < a.size(); ++i) a[i] = aOld[i] + delta[i];
      finished = true;
    } else {
      double chi2New = chi2;
      status = DampedStep(alpha, beta, lambda, chi2, aOld, a, chi2New);
      converged = true;
      for (std::size_t i = 0; i < a.size(); ++i)
        if (!(std::fabs(a[i] - aOld[i]) <
              std::max(kConvergence, kConvergence * std::fabs(aOld[i]))))
          converged = false;
      lambda *= 0.1;
      chi2 = chi2New;
    }
    if (++iteration > kMaxIterations && status == FitStatus::Ok) status = FitStatus::IterationLimit;
    if (watch.Faulted()) break;
  }
  return watch.Faulted() ? FitStatus::ArithmeticFault : status;
}

// Starting estimates of the exponential from the slopes of its two halves. A curve that bends
// the way it goes (a rise that steepens, a fall that steepens) grows from its first point, c > 0;
// any other flattens towards its last point, c < 0. Slopes rather than rises, so that hidden
// frames or uneven sampling do not pass for a bend.
Vector ExponentialStart(std::span<const double> x, std::span<const double> y) {
  const std::size_t last = y.size() - 1;
  const std::size_t middle = last / 2;
  const bool rises = y[last] > y[0];
  const bool secondHalfSteeper =
      (y[last] - y[middle]) * (x[middle] - x[0]) > (y[middle] - y[0]) * (x[last] - x[middle]);
  if (rises == secondHalfSteeper) return {y[0], y[last] - y[0], 1};
  return {y[last], y[0] - y[last], -1};
}

double StartPulsation(std::span<const double> x, std::span<const double> centred) {
  const double tmax = MaxOf(x);
  if (IsZero(tmax)) return 0;
  return EstimatePulsation(x, centred, 2 * std::numbers::pi / tmax);
}

Vector SinusoidStart(std::span<const double> x, std::span<const double> centred, ModelKind kind) {
  const double amplitude = std::fabs(MaxOf(centred));
  const double phi =
      IsZero(amplitude) ? 0 : std::asin(std::clamp(centred[0] / amplitude, -1.0, 1.0));
  Vector a{amplitude, StartPulsation(x, centred), phi};
  if (kind != ModelKind::Sinus) a.push_back(kStartDamping);
  return a;
}

}  // namespace

ArithmeticWatch::ArithmeticWatch() {
  std::fegetexceptflag(&saved_, kFaults);
  std::feclearexcept(kFaults);
}

ArithmeticWatch::~ArithmeticWatch() { std::fesetexceptflag(&saved_, kFaults); }

bool ArithmeticWatch::Faulted() const { return std::fetestexcept(kFaults) != 0; }

std::optional<double> BisectRoot(const std::function<double(double)>& g, double low, double high,
                                 int halvings, double tolerance) {
  if (!(low < high)) return std::nullopt;
  double gLow = 0, gHigh = 0;
  {
    const ArithmeticWatch watch;
    gLow = g(low);
    gHigh = g(high);
    if (watch.Faulted() || !std::isfinite(gLow) || !std::isfinite(gHigh)) return std::nullopt;
  }
  if (std::fabs(gLow) <= tolerance) return low;
  if (std::fabs(gHigh) <= tolerance) return high;
  if (gLow * gHigh > 0) return std::nullopt;
  double middle = low;
  for (int i = 0; i <= halvings; ++i) {
    middle = (low + high) / 2;
    const double gMiddle = g(middle);
    if (std::fabs(gMiddle) <= tolerance) return middle;
    if (gMiddle * gLow >= 0) {
      low = middle;
      gLow = gMiddle;
    } else {
      high = middle;
    }
  }
  return middle;
}

double DryFrictionValue(const std::array<double, 4>& a, double t) {
  return DryFrictionAt(a, FindDryStop(a), t);
}

double EstimatePulsation(std::span<const double> x, std::span<const double> centred,
                         double fallback) {
  auto sign = [](double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
  const std::size_t n = std::min(x.size(), centred.size());
  bool seenFirst = false;
  double first = 0;
  for (std::size_t j = 1; j < n; ++j) {
    if (sign(centred[j - 1]) == sign(centred[j])) continue;
    const double instant = (x[j - 1] + x[j]) / 2;
    if (!seenFirst) {
      seenFirst = true;
      first = instant;
      continue;
    }
    return IsZero(instant - first) ? fallback : std::numbers::pi / (instant - first);
  }
  return fallback;
}

FitStatus MarquardtFit(std::span<const double> x, std::span<const double> y, ModelKind kind,
                       std::vector<double>& p) {
  const std::size_t n = std::min(x.size(), y.size());
  if (n == 0 || (kind != ModelKind::Exponential && !IsSinusoid(kind)))
    return FitStatus::ArithmeticFault;
  x = x.first(n);
  y = y.first(n);
  const ArithmeticWatch watch;
  double offset = 0;
  Vector work(y.begin(), y.end());
  Vector a;
  if (kind == ModelKind::Exponential) {
    a = ExponentialStart(x, y);
  } else {
    offset = kind == ModelKind::Sinus ? (MaxOf(y) + MinOf(y)) / 2 : MeanOf(y);
    for (double& v : work) v -= offset;
    a = SinusoidStart(x, work, kind);
  }
  const FitResult fit(x, work, kind);
  const FitStatus status = fit.Run(a);
  if (IsSinusoid(kind)) {
    if (std::isnan(a[0]) || a[0] <= 0) a[0] = std::fabs(MaxOf(work));
    if (std::isnan(a[1]) || a[1] <= 0) a[1] = StartPulsation(x, work);
    a.insert(a.begin(), offset);
  }
  if (status == FitStatus::ArithmeticFault || watch.Faulted()) return FitStatus::ArithmeticFault;
  p = std::move(a);
  return status;
}

}  // namespace kinovia
