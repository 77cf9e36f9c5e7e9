// The iterative fit of the exponential and the sinusoids: reference data, noisy synthetic data
// with a known truth, the starting estimates and the dry-friction stop.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "core/Enums.h"
#include "core/Numbers.h"
#include "logic/models/NonlinearFit.h"
#include "tests/results/NistFixture.h"

namespace kinovia {
namespace {

using std::numbers::pi;

double ExponentialRss(const std::vector<double>& x, const std::vector<double>& y, double r,
                      double b, double c) {
  double sum = 0;
  for (std::size_t i = 0; i < x.size(); ++i) sum += std::pow(y[i] - r - b * std::exp(c * x[i]), 2);
  return sum;
}

// The least-squares optimum of r + b.exp(c.x) found another way: for each c the best r and b
// solve a 2 x 2 linear system, and c is found by golden-section search on the residual.
std::vector<double> ExponentialByProjection(const std::vector<double>& x,
                                            const std::vector<double>& y, double lo, double hi) {
  auto linear = [&](double c, double& r, double& b) {
    double n = 0, se = 0, see = 0, sy = 0, sey = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double e = std::exp(c * x[i]);
      n += 1;
      se += e;
      see += e * e;
      sy += y[i];
      sey += e * y[i];
    }
    const double det = n * see - se * se;
    r = (sy * see - se * sey) / det;
    b = (n * sey - se * sy) / det;
    return ExponentialRss(x, y, r, b, c);
  };
  double r = 0, b = 0;
  const double g = (3 - std::sqrt(5.0)) / 2;
  double c1 = lo + g * (hi - lo), c2 = hi - g * (hi - lo);
  double f1 = linear(c1, r, b), f2 = linear(c2, r, b);
  for (int i = 0; i < 200; ++i) {
    if (f1 < f2) {
      hi = c2, c2 = c1, f2 = f1, c1 = lo + g * (hi - lo), f1 = linear(c1, r, b);
    } else {
      lo = c1, c1 = c2, f1 = f2, c2 = hi - g * (hi - lo), f2 = linear(c2, r, b);
    }
  }
  const double c = (lo + hi) / 2;
  linear(c, r, b);
  return {r, b, c};
}

// Misra1a and BoxBOD are y = b1.(1 - exp(-b2.x)): the exponential model with r = -b. Its three
// free parameters can only fit them better, so the certified residual bounds ours from above, and
// the certified parameters in our model give exactly that residual. Abscissas are brought to the
// order of seconds, where a starting rate of -1 makes sense.
TEST(NonlinearFit, ExponentialFitsReferenceSetsAtTheirLeastSquaresOptimum) {
  const struct {
    const char* name;
    double scale;
  } sets[] = {{"Misra1a", 1e-3}, {"BoxBOD", 0.1}};
  for (const auto& s : sets) {
    test::NistSet set = test::LoadNistSet(s.name);
    for (double& x : set.x) x *= s.scale;
    const double b1 = set.certified[0], b2 = set.certified[1] / s.scale;
    EXPECT_GE(test::AgreeingDigits(ExponentialRss(set.x, set.y, b1, -b1, -b2), set.rss), 7)
        << s.name;

    std::vector<double> p;
    EXPECT_EQ(MarquardtFit(set.x, set.y, ModelKind::Exponential, p), FitStatus::Ok) << s.name;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_LE(ExponentialRss(set.x, set.y, p[0], p[1], p[2]), set.rss) << s.name;
    const std::vector<double> truth = ExponentialByProjection(set.x, set.y, -20, -1e-3);
    for (std::size_t j = 0; j < 3; ++j)
      EXPECT_GE(test::AgreeingDigits(p[j], truth[j]), 5) << s.name << " p" << j << " " << p[j];
  }
}

TEST(NonlinearFit, ExponentialStartsFromTheBendOfTheCurve) {
  // Every shape an exponential can take, evenly sampled and with a missing stretch.
  const struct {
    const char* what;
    double r, b, c;
  } shapes[] = {
      {"growth", 1, 2, 0.8},
      {"saturating rise", 5, -4, -0.7},
      {"decay, as a capacitor discharges", 2, 3, -1.5},
      {"falling faster and faster", -1, -2, 0.8},
  };
  for (const auto& s : shapes) {
    for (bool gap : {false, true}) {
      std::vector<double> x, y, p;
      for (int i = 0; i <= 30; ++i) {
        if (gap && i > 3 && i < 12) continue;
        x.push_back(0.1 * i);
        y.push_back(s.r + s.b * std::exp(s.c * x.back()));
      }
      EXPECT_EQ(MarquardtFit(x, y, ModelKind::Exponential, p), FitStatus::Ok) << s.what;
      ASSERT_EQ(p.size(), 3u) << s.what;
      EXPECT_NEAR(p[0], s.r, 1e-6) << s.what << " gap " << gap;
      EXPECT_NEAR(p[1], s.b, 1e-6) << s.what << " gap " << gap;
      EXPECT_NEAR(p[2], s.c, 1e-6) << s.what << " gap " << gap;
    }
  }
}

struct NoisySinusoid {
  ModelKind kind;
  double offset, amplitude, omega, phase, damping;
  double Value(double t) const {
    const double s = amplitude * std::sin(omega * t + phase);
    if (kind == ModelKind::SinusExp) return offset + s * std::exp(damping * t);
    if (kind == ModelKind::SinusLin) return offset + s * (1 + damping * t);
    return offset + s;
  }
};

TEST(NonlinearFit, SinusoidsOnNoisyDataFindTheirTruth) {
  // A pendulum filmed at 25 frames a second for four periods, pointed to 1 % of its amplitude.
  const NoisySinusoid cases[] = {
      {ModelKind::Sinus, 0.45, 0.2, 2 * pi / 1.6, 0.7, 0},
      {ModelKind::Sinus, -0.1, 0.05, 2 * pi / 0.9, -2.5, 0},
      {ModelKind::SinusExp, 0.5, 0.2, 2 * pi / 1.6, 1.2, -0.15},
      {ModelKind::SinusLin, 0.5, 0.2, 2 * pi / 1.6, 2.0, -0.08},
  };
  std::mt19937 random(12345);
  for (const auto& c : cases) {
    std::normal_distribution<double> noise(0, 0.01 * c.amplitude);
    std::vector<double> x, y, p;
    for (int i = 0; i <= 160; ++i) {
      x.push_back(i * 0.04);
      y.push_back(c.Value(x.back()) + noise(random));
    }
    const FitStatus status = MarquardtFit(x, y, c.kind, p);
    EXPECT_GE(status, FitStatus::IterationLimit) << Underlying(c.kind);
    EXPECT_NE(status, FitStatus::ArithmeticFault) << Underlying(c.kind);
    ASSERT_EQ(p.size(), c.kind == ModelKind::Sinus ? 4u : 5u);
    // The offset is not fitted (half-range or mean of the data), so it and what leans on it carry
    // a little more than the noise.
    EXPECT_NEAR(p[0], c.offset, 0.05 * c.amplitude) << Underlying(c.kind);
    EXPECT_NEAR(p[1], c.amplitude, 0.03 * c.amplitude) << Underlying(c.kind);
    EXPECT_NEAR(p[2], c.omega, 0.005 * c.omega) << Underlying(c.kind);
    EXPECT_NEAR(NormalizeAngle(p[3], -c.phase), 0, 0.03) << Underlying(c.kind);
    if (c.kind != ModelKind::Sinus) {
      EXPECT_NEAR(p[4], c.damping, 0.1 * std::fabs(c.damping)) << Underlying(c.kind);
    }
  }
}

// A damped sinusoid whose first steps overshoot until exp(k.t) overflows: such trial steps are
// rejected like any bad step, and the fit carries on to the right curve.
TEST(NonlinearFit, OverflowingTrialStepDoesNotEndTheFit) {
  std::vector<double> x, y, p;
  for (int i = 0; i <= 120; ++i) {
    x.push_back(0.05 * i);
    y.push_back(1 + 0.3 * std::sin(2.2 * x.back() + 3.5) * std::exp(-0.02 * x.back()));
  }
  EXPECT_EQ(MarquardtFit(x, y, ModelKind::SinusExp, p), FitStatus::Ok);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_NEAR(p[2], 2.2, 0.01);
  EXPECT_NEAR(NormalizeAngle(p[3], -3.5), 0, 0.05);
}

TEST(NonlinearFit, PulsationComesFromTheFirstTwoSignChanges) {
  const std::vector<double> x{0, 1, 2, 3, 4, 5, 6};
  const struct {
    const char* what;
    std::vector<double> y;
    double expected;
  } cases[] = {
      // Changes between 1 and 2 (at 1.5) and between 4 and 5 (at 4.5): half a period of 3.
      {"two changes", {1, 1, -1, -1, -1, 1, 1}, pi / 3},
      // Reaching zero counts as a change, and so does leaving it.
      {"through zero", {1, 0, -1, -1, -1, -1, -1}, pi / 1},
      {"one change", {1, 1, 1, -1, -1, -1, -1}, 7.5},
      {"no change", {1, 2, 3, 2, 1, 2, 3}, 7.5},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(EstimatePulsation(x, c.y, 7.5), c.expected) << c.what;
}

TEST(NonlinearFit, SinusoidWithoutSignChangeOrTimeSpanKeepsItsFallbackPulsation) {
  // Centred ordinates that never change sign: a whole period over the clip, 2 pi / max(x).
  const std::vector<double> x{0, 1, 2, 3, 4};
  std::vector<double> p;
  MarquardtFit(x, std::vector<double>{0, 0, 0, 0, 0}, ModelKind::Sinus, p);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_DOUBLE_EQ(p[2], 2 * pi / 4);
  // Every abscissa at 0: no time to estimate a pulsation from.
  const std::vector<double> zeros(5, 0.0);
  p.clear();
  MarquardtFit(zeros, std::vector<double>{0, 0, 0, 0, 0}, ModelKind::Sinus, p);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[2], 0.0);
}

TEST(NonlinearFit, DryFrictionHoldsItsLastTurningPoint) {
  // Envelope 1 - 0.1 t reaches zero at t = 10; a quarter period is 0.25.
  const std::array<double, 4> a{1, 2 * pi, 0.3, -0.1};
  auto plain = [&](double t) { return std::sin(2 * pi * t + 0.3) * (1 - 0.1 * t); };
  for (double t : {0.0, 3.3, 9.0, 9.4}) EXPECT_NEAR(DryFrictionValue(a, t), plain(t), 1e-12) << t;
  const double held = DryFrictionValue(a, 10.5);
  EXPECT_EQ(DryFrictionValue(a, 12), held);
  EXPECT_EQ(DryFrictionValue(a, 100), held);
  // The held value is the plain motion's last extremum before t = 10, and it holds from there on.
  double extremum = 0;
  for (double t = 9.5; t <= 9.75; t += 1e-5) extremum = std::min(extremum, plain(t));
  EXPECT_NEAR(held, extremum, 1e-9);
  EXPECT_NEAR(DryFrictionValue(a, 9.62), plain(9.62), 1e-12);
  EXPECT_EQ(DryFrictionValue(a, 9.66), held);
  // Without damping it is a plain sinusoid for ever.
  const std::array<double, 4> undamped{1, 2 * pi, 0.3, 0};
  EXPECT_NEAR(DryFrictionValue(undamped, 12.1), std::sin(2 * pi * 12.1 + 0.3), 1e-12);
}

TEST(NonlinearFit, BisectionFindsARootOrReportsNone) {
  auto g = [](double t) { return t * t - 2; };
  const auto root = BisectRoot(g, 0, 2, 60, 1e-12);
  ASSERT_TRUE(root.has_value());
  EXPECT_NEAR(*root, std::sqrt(2.0), 1e-11);
  EXPECT_FALSE(BisectRoot(g, 2, 3, 30, 1e-9).has_value());  // same sign at both ends
  EXPECT_FALSE(BisectRoot(g, 2, 0, 30, 1e-9).has_value());  // empty interval
  EXPECT_EQ(BisectRoot(g, -1, std::sqrt(2.0), 30, 1e-9), std::sqrt(2.0));
  // Out of halvings: the last middle is taken.
  const auto coarse = BisectRoot(g, 0, 2, 3, 1e-12);
  ASSERT_TRUE(coarse.has_value());
  EXPECT_NEAR(*coarse, std::sqrt(2.0), 2.0 / 16);
}

TEST(NonlinearFit, ArithmeticFaultLeavesTheParametersUntouched) {
  // Times in the thousands of seconds and a growing curve: exp(c.t) overflows from the start.
  std::vector<double> x, y;
  for (int i = 0; i <= 20; ++i) {
    x.push_back(1000 + 50 * i);
    y.push_back(1e-6 * x.back() * x.back());
  }
  std::vector<double> p{7, 8, 9};
  EXPECT_EQ(MarquardtFit(x, y, ModelKind::Exponential, p), FitStatus::ArithmeticFault);
  EXPECT_EQ(p, (std::vector<double>{7, 8, 9}));
  EXPECT_EQ(MarquardtFit(std::vector<double>{}, std::vector<double>{}, ModelKind::Sinus, p),
            FitStatus::ArithmeticFault);
  EXPECT_EQ(p, (std::vector<double>{7, 8, 9}));
}

}  // namespace
}  // namespace kinovia
