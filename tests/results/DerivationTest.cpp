// Speeds and accelerations against analytic derivatives, with and without smoothing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "core/LeastSquares.h"
#include "logic/results/Derivation.h"

namespace kinovia {
namespace {

constexpr double kT = 0.04;  // 25 frames a second

struct Series {
  std::vector<double> a, y;
};

Series Sample(const std::vector<double>& frames, const std::function<double(double)>& f) {
  Series s{frames, {}};
  for (double frame : frames) s.y.push_back(f(frame * kT));
  return s;
}

std::vector<double> Frames(int count) {
  std::vector<double> frames;
  for (int i = 0; i < count; ++i) frames.push_back(i);
  return frames;
}

Derivation Derive(const Series& s, bool smooth,
                  DerivationStatus expectedStatus = DerivationStatus::Ok) {
  Derivation deriv;
  deriv.SetData(s.a, s.y, kT);
  EXPECT_EQ(deriv.Compute(smooth), expectedStatus);
  return deriv;
}

// A ball thrown upward, in frame fractions: the parabola every pointing session produces.
double Ball(double t) { return 0.1 + 1.2 * t - 0.5 * 3.0 * t * t; }
double BallSpeed(double t) { return 1.2 - 3.0 * t; }
constexpr double kBallAcceleration = -3.0;

TEST(Derivation, ThreeSamplesUseOneSidedEndsAndTheCentralMiddle) {
  // y = a^2 at a = 0, 1, 2 with T = 1: every three-point rule is exact on a parabola.
  Derivation deriv;
  deriv.SetData(std::vector<double>{0, 1, 2}, std::vector<double>{0, 1, 4}, 1.0);
  ASSERT_EQ(deriv.Compute(false), DerivationStatus::Ok);
  EXPECT_EQ(deriv.First(), (std::vector<double>{0, 2, 4}));
  EXPECT_EQ(deriv.Second(), (std::vector<double>{2, 2, 2}));
}

TEST(Derivation, ParabolaAtEqualIntervalsIsExactInBothModes) {
  const Series s = Sample(Frames(30), Ball);
  for (bool smooth : {false, true}) {
    const Derivation deriv = Derive(s, smooth);
    for (std::size_t i = 0; i < s.a.size(); ++i) {
      EXPECT_NEAR(deriv.First()[i], BallSpeed(s.a[i] * kT), 1e-9) << i << " smooth " << smooth;
      EXPECT_NEAR(deriv.Second()[i], kBallAcceleration, 1e-7) << i << " smooth " << smooth;
    }
  }
}

TEST(Derivation, MissingFrameGivesTheChordSlopeAndSmoothingRestoresTheAcceleration) {
  std::vector<double> frames = Frames(30);
  frames.erase(frames.begin() + 12);  // frame 12 hidden: a gap of two intervals
  const Series s = Sample(frames, Ball);
  const Derivation plain = Derive(s, false);
  for (std::size_t i = 1; i + 1 < s.a.size(); ++i) {
    // The central difference is the chord of the parabola, which is its slope at mid-chord.
    const double middle = (s.a[i - 1] + s.a[i + 1]) / 2 * kT;
    EXPECT_NEAR(plain.First()[i], BallSpeed(middle), 1e-9) << i;
  }
  const Derivation smoothed = Derive(s, true);
  for (std::size_t i = 0; i < s.a.size(); ++i) {
    EXPECT_NEAR(smoothed.First()[i], BallSpeed(s.a[i] * kT), 0.02 * 3.0 * kT) << i;
    EXPECT_NEAR(smoothed.Second()[i], kBallAcceleration, 0.01 * 3.0) << i;
  }
}

TEST(Derivation, MissingFrameBesideAnEndKeepsTheEndSpeedsExact) {
  // Frames 1 and 28 hidden: each end's three samples are unevenly spaced.
  std::vector<double> frames = Frames(30);
  frames.erase(frames.begin() + 28);
  frames.erase(frames.begin() + 1);
  const Series s = Sample(frames, Ball);
  const std::vector<double> d = Derivation::ThreePointDerivative(s.a, s.y, kT);
  EXPECT_NEAR(d.front(), BallSpeed(s.a.front() * kT), 1e-9);
  EXPECT_NEAR(d.back(), BallSpeed(s.a.back() * kT), 1e-9);
}

TEST(Derivation, SmoothingRecoversTheAccelerationOfAHandPointedThrow) {
  // Pointed to a fifth of a percent of the picture: plain differences of differences scatter by
  // several times g, the smoothed acceleration stays within 3 %.
  std::mt19937 random(3);
  std::normal_distribution<double> pointing(0, 0.002);
  Series s = Sample(Frames(30), Ball);
  for (double& y : s.y) y += pointing(random);
  const Derivation deriv = Derive(s, true);
  for (std::size_t i = 0; i < s.a.size(); ++i) {
    EXPECT_NEAR(deriv.Second()[i], kBallAcceleration, 0.03 * 3.0) << i;
    EXPECT_NEAR(deriv.First()[i], BallSpeed(s.a[i] * kT), 0.03) << i;
  }
}

TEST(Derivation, SinusoidFollowsItsAnalyticDerivatives) {
  // 100 samples a period over three periods: no polynomial of degree 4 describes it, so the
  // smoothing falls back on the three-point rules and gives the plain results.
  const double omega = 2 * std::numbers::pi / (100 * kT);
  const Series s = Sample(Frames(300), [&](double t) { return 0.3 * std::sin(omega * t); });
  const Derivation plain = Derive(s, false);
  for (std::size_t i = 2; i + 2 < s.a.size(); ++i) {
    const double t = s.a[i] * kT;
    EXPECT_NEAR(plain.First()[i], 0.3 * omega * std::cos(omega * t), 1e-3 * 0.3 * omega) << i;
    EXPECT_NEAR(plain.Second()[i], -0.3 * omega * omega * std::sin(omega * t),
                3e-3 * 0.3 * omega * omega)
        << i;
  }
  const Derivation smoothed = Derive(s, true);
  EXPECT_EQ(smoothed.First(), plain.First());
  EXPECT_EQ(smoothed.Second(), plain.Second());
}

TEST(Derivation, ConstantAndUniformMotionHaveNoAcceleration) {
  const struct {
    const char* what;
    std::function<double(double)> f;
    double speed;
  } cases[] = {
      {"still", [](double) { return 0.37; }, 0.0},
      {"uniform", [](double t) { return 0.2 + 0.6 * t; }, 0.6},
  };
  for (const auto& c : cases) {
    const Series s = Sample(Frames(25), c.f);
    for (bool smooth : {false, true}) {
      const Derivation deriv = Derive(s, smooth);
      for (std::size_t i = 0; i < s.a.size(); ++i) {
        EXPECT_NEAR(deriv.First()[i], c.speed, 1e-9) << c.what << ' ' << i;
        EXPECT_NEAR(deriv.Second()[i], 0.0, 1e-7) << c.what << ' ' << i;
      }
    }
  }
}

TEST(Derivation, HardlyMovingObjectGetsTheSlidingSlopeAndADampedAcceleration) {
  Series s{Frames(12), {}};
  for (std::size_t i = 0; i < s.a.size(); ++i) s.y.push_back(0.5 + (i % 3 == 0 ? 0.004 : -0.002));
  const Derivation deriv = Derive(s, true);
  const std::vector<double> slope = Derivation::SlidingSlope(s.a, s.y, kT);
  const std::vector<double> differences = Derivation::ThreePointDerivative(s.a, slope, kT);
  EXPECT_EQ(deriv.First(), slope);
  ASSERT_EQ(deriv.Second().size(), differences.size());
  for (std::size_t i = 0; i < differences.size(); ++i)
    EXPECT_NEAR(deriv.Second()[i], -0.02 * differences[i], 1e-12) << i;
  // Each window's slope is the least-squares slope of its three samples: at i = 4 (frames 3, 4
  // and 5 at +0.004, -0.002, -0.002) it is -0.006 / 2 frames.
  EXPECT_NEAR(slope[4], -0.003 / kT, 1e-12);
}

TEST(Derivation, PolynomialRulesAndTheBlendDirection) {
  const std::vector<double> a{0, 1, 2, 3};
  EXPECT_EQ(Derivation::PolynomialDerivative(std::vector<double>{0}, a, kT),
            (std::vector<double>(4, 0.0)));
  // p = 1 + 2a + 3a^2 -> 2 + 6a, per second.
  const std::vector<double> d =
      Derivation::PolynomialDerivative(std::vector<double>{1, 2, 3}, a, 0.5);
  EXPECT_EQ(d, (std::vector<double>{4, 16, 28, 40}));
  // A polynomial derivative 1 above the three-point one moves 2 % further away from it.
  const std::vector<double> y{0, 0, 0, 0};
  const std::vector<double> blended = Derivation::Blended(std::vector<double>{0, 1}, a, y, 1.0);
  EXPECT_EQ(blended, (std::vector<double>(4, 1.02)));
}

TEST(Derivation, FewerThanThreeSamplesComputeNothing) {
  Derivation deriv;
  deriv.SetData(std::vector<double>{0, 1}, std::vector<double>{0.1, 0.3}, kT);
  for (bool smooth : {false, true}) {
    EXPECT_EQ(deriv.Compute(smooth), DerivationStatus::TooFewSamples);
    EXPECT_EQ(deriv.First(), (std::vector<double>{0, 0}));
    EXPECT_EQ(deriv.Second(), (std::vector<double>{0, 0}));
  }
}

TEST(Derivation, FailedSmoothingFitReturnsItsStatus) {
  // Abscissas that are all equal cannot be fitted; the smoothing reports the fit's status.
  const Series s{{3, 3, 3, 3}, {0.1, 0.5, 0.2, 0.9}};
  Derive(s, true, DerivationStatus::FitSameAbscissas);
}

TEST(Derivation, ValuesShorterThanAbscissasAreNotReadPastTheirEnd) {
  Derivation deriv;
  deriv.SetData(std::vector<double>{0, 1, 2, 3, 4}, std::vector<double>{0, 1, 4}, 1.0);
  ASSERT_EQ(deriv.Compute(false), DerivationStatus::Ok);
  EXPECT_EQ(deriv.First().size(), 3u);
}

}  // namespace
}  // namespace kinovia
