// Polynomial least squares against certified reference results and hand-checked small cases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/LeastSquares.h"
#include "tests/results/NistFixture.h"

namespace kinovia {
namespace {

TEST(LeastSquares, AgreesWithCertifiedReferenceResults) {
  for (const std::string name :
       {"Norris", "Pontius", "Wampler1", "Wampler2", "Wampler3", "Wampler4", "Wampler5"}) {
    const test::NistSet set = test::LoadNistSet(name);
    ASSERT_EQ(set.certified.size(), static_cast<std::size_t>(set.terms)) << name;
    std::vector<double> p;
    ASSERT_EQ(LeastSquaresFit(set.terms, set.x, set.y, p), LsqStatus::Ok) << name;
    ASSERT_EQ(p.size(), set.certified.size()) << name;
    for (std::size_t j = 0; j < p.size(); ++j)
      EXPECT_GE(test::AgreeingDigits(p[j], set.certified[j]), 7.0)
          << name << " p" << j << " = " << p[j];
  }
}

TEST(LeastSquares, SmallCasesGiveTheExpectedCoefficients) {
  const struct {
    const char* what;
    int terms;
    std::vector<double> x, y, p;
    double quality;
  } cases[] = {
      {"line through two points", 2, {1, 3}, {2, 8}, {-1, 3}, 1.0},
      {"three terms on two points fall to one", 3, {1, 3}, {2, 8}, {5}, 25.0 * 2 / 68},
      {"exact line", 2, {0, 1, 2}, {1, 3, 5}, {1, 2}, 1.0},
      {"parabola through three points", 3, {1, 2, 3}, {1, 4, 9}, {0, 0, 1}, 1.0},
      {"constant is the mean", 1, {0, 1, 2, 3}, {1, 2, 2, 3}, {2}, 16.0 / 18},
  };
  for (const auto& c : cases) {
    std::vector<double> p;
    ASSERT_EQ(LeastSquaresFit(c.terms, c.x, c.y, p), LsqStatus::Ok) << c.what;
    ASSERT_EQ(p.size(), c.p.size()) << c.what;
    for (std::size_t j = 0; j < p.size(); ++j) EXPECT_NEAR(p[j], c.p[j], 1e-12) << c.what;
    EXPECT_NEAR(FitQuality(), c.quality, 1e-12) << c.what;
  }
}

TEST(LeastSquares, FailuresLeaveTheCoefficientsAlone) {
  const struct {
    const char* what;
    int terms;
    std::vector<double> x, y;
    LsqStatus status;
  } cases[] = {
      {"one point", 2, {1}, {1}, LsqStatus::TooFewPoints},
      {"no point", 1, {}, {}, LsqStatus::TooFewPoints},
      {"no term", 0, {1, 2}, {1, 2}, LsqStatus::NoTerm},
      {"same abscissas", 1, {2, 2, 2}, {1, 2, 3}, LsqStatus::SameAbscissas},
      {"same abscissas, three terms", 3, {2, 2, 2}, {1, 2, 3}, LsqStatus::SameAbscissas},
      {"two distinct abscissas cannot carry a parabola",
       3,
       {0, 0, 1, 1},
       {1, 2, 3, 4},
       LsqStatus::Singular},
  };
  for (const auto& c : cases) {
    std::vector<double> p{7, 8};
    EXPECT_EQ(LeastSquaresFit(c.terms, c.x, c.y, p), c.status) << c.what;
    EXPECT_EQ(p, (std::vector<double>{7, 8})) << c.what;
  }
}

TEST(LeastSquares, QualityIsZeroForAllZeroOrdinatesAndSurvivesAFailedFit) {
  std::vector<double> p;
  ASSERT_EQ(LeastSquaresFit(2, std::vector<double>{0, 1, 2}, std::vector<double>{0, 0, 0}, p),
            LsqStatus::Ok);
  EXPECT_EQ(FitQuality(), 0.0);
  ASSERT_EQ(LeastSquaresFit(2, std::vector<double>{0, 1, 2}, std::vector<double>{1, 2, 4}, p),
            LsqStatus::Ok);
  const double quality = FitQuality();
  EXPECT_GT(quality, 0.9);
  EXPECT_EQ(LeastSquaresFit(2, std::vector<double>{1}, std::vector<double>{1}, p),
            LsqStatus::TooFewPoints);
  EXPECT_EQ(FitQuality(), quality);
}

// Times counted in seconds since a start far back must fit as well as times near 0: the fitted
// values, which is what the derivation uses, stay exact, and so do the coefficients.
TEST(LeastSquares, AbscissasFarFromZeroKeepTheirAccuracy) {
  const std::vector<double> truth{5, -2, 0.5};
  auto polynomial = [&](double t) { return truth[0] + t * (truth[1] + t * truth[2]); };
  std::vector<double> x, y;
  for (int i = 0; i < 200; ++i) {
    x.push_back(1000 + 0.04 * i);
    y.push_back(polynomial(x.back()));
  }
  std::vector<double> p;
  ASSERT_EQ(LeastSquaresFit(3, x, y, p), LsqStatus::Ok);
  for (std::size_t j = 0; j < truth.size(); ++j)
    EXPECT_GE(test::AgreeingDigits(p[j], truth[j]), 5.0) << "p" << j << " = " << p[j];
  for (double t : {1000.0, 1003.9, 1007.96}) {
    const double fitted = p[0] + t * (p[1] + t * p[2]);
    EXPECT_NEAR(fitted, polynomial(t), 1e-9 * std::abs(polynomial(t))) << t;
  }
}

TEST(LeastSquares, CompletePivotingSolvesAnUnsymmetricSystemAndDetectsSingularity) {
  // 2a + b + c = 5; 4a - 6b = -2; -2a + 7b + 2c = 9  ->  a = 1, b = 1, c = 2
  std::vector<double> z;
  ASSERT_TRUE(SolveCompletePivoting({2, 1, 1, 4, -6, 0, -2, 7, 2}, {5, -2, 9}, z));
  EXPECT_NEAR(z[0], 1, 1e-14);
  EXPECT_NEAR(z[1], 1, 1e-14);
  EXPECT_NEAR(z[2], 2, 1e-14);
  EXPECT_FALSE(SolveCompletePivoting({1, 2, 2, 4}, {1, 2}, z));
}

}  // namespace
}  // namespace kinovia
