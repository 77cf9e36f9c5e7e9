#include "logic/results/ResultsComputation.h"

#include <gtest/gtest.h>

#include <numbers>

#include "TableFixtures.h"

namespace kinovia {
namespace {

using testing::MarksFrom;
using testing::Range;
constexpr double kPi = std::numbers::pi;
constexpr double kT = 0.04;

Calibration Metres(double sx, double sy) { return {sx, sy, 0, true, true, kT}; }

TEST(ResultsComputation, ParabolaGivesItsAccelerationInTheUsersAxes) {
  // GIVEN a ball thrown at 2 m/s across, 3 m/s up, falling with 9.81 m/s^2; 1 fraction = 2 m
  const auto ball = [](int k) -> std::optional<std::pair<double, double>> {
    const double t = k * kT;
    return std::pair{(0.1 + 2 * t) / 2, (3 * t - 9.81 / 2 * t * t) / 2};
  };
  FrameResults frameResults;
  ASSERT_TRUE(frameResults.Rebuild(MarksFrom(Range(20), kT, {ball}), Metres(2, 2)));
  // WHEN derived without smoothing
  ASSERT_EQ(frameResults.ComputeDerivatives({}), DerivationStatus::Ok);
  // THEN the three-point rules are exact on a parabola
  for (int i = 0; i < 20; ++i) {
    const double t = i * kT;
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::X, i), 0.1 + 2 * t,
                1e-12);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Vx, i), 2, 1e-9);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Vy, i), 3 - 9.81 * t,
                1e-9);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::V, i),
                std::hypot(2, 3 - 9.81 * t), 1e-9);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Ay, i), -9.81, 1e-7);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::A, i), 9.81, 1e-7);
  }
}

TEST(ResultsComputation, RotationAndInvertedAxesApplyToEveryFamily) {
  const auto line = [](int k) -> std::optional<std::pair<double, double>> {
    return std::pair{0.01 * k * k, 0.02 * k};
  };
  const MarksData marks = MarksFrom(Range(6), kT, {line, line});
  FrameResults direct, inverted, rotated;
  direct.Rebuild(marks, Metres(1, 1));
  inverted.Rebuild(marks, {1, 1, 0, false, true, kT});
  rotated.Rebuild(marks, {1, 1, kPi / 2, true, true, kT});
  for (auto* c : {&direct, &inverted, &rotated})
    ASSERT_EQ(c->ComputeDerivatives({}), DerivationStatus::Ok);
  for (int o = 0; o < 2; ++o) {
    for (int i = 0; i < 6; ++i) {
      for (QuantityKind kind : {QuantityKind::X, QuantityKind::Vx, QuantityKind::Ax}) {
        EXPECT_DOUBLE_EQ(inverted.CellValue(Orientation::User, o, kind, i),
                         -direct.CellValue(Orientation::User, o, kind, i));
        // The picture orientation ignores the axes.
        EXPECT_DOUBLE_EQ(inverted.CellValue(Orientation::Picture, o, kind, i),
                         direct.CellValue(Orientation::Picture, o, kind, i));
      }
      // A quarter turn of the axes: the new x is the old y, the new y minus the old x.
      EXPECT_NEAR(rotated.CellValue(Orientation::User, o, QuantityKind::X, i),
                  direct.CellValue(Orientation::User, o, QuantityKind::Y, i), 1e-12);
      EXPECT_NEAR(rotated.CellValue(Orientation::User, o, QuantityKind::Vy, i),
                  -direct.CellValue(Orientation::User, o, QuantityKind::Vx, i), 1e-12);
    }
  }
}

TEST(ResultsComputation, MissingScaleComputesNothingAndStaysStale) {
  FrameResults frameResults;
  const auto still = [](int) -> std::optional<std::pair<double, double>> {
    return std::pair{0.5, 0.5};
  };
  EXPECT_FALSE(frameResults.Rebuild(MarksFrom(Range(4), kT, {still}), Metres(-1, 2)));
  EXPECT_TRUE(frameResults.IsStale());
  EXPECT_DOUBLE_EQ(frameResults.CellValue(Orientation::User, 0, QuantityKind::X, 0), 0);
}

// The cells keep their memory from one rebuild to the next: what a rebuild has not computed
// again must read 0, never the previous table's values.
TEST(ResultsComputation, ARebuiltTableShowsNothingOfThePreviousOne) {
  const auto moving = [](int k) -> std::optional<std::pair<double, double>> {
    return std::pair{0.3 + 0.01 * k * k, 0.2 + 0.02 * k};
  };
  const auto glimpsed = [](int k) -> std::optional<std::pair<double, double>> {
    if (k > 1) return std::nullopt;
    return std::pair{0.1 + 0.1 * k, 0.1};
  };
  const MarksData full = MarksFrom(Range(8), kT, {moving, moving, moving});
  const MarksData broken = MarksFrom(Range(8), kT, {moving, glimpsed, moving});
  const QuantityKind kDerived[] = {
      QuantityKind::Vx,    QuantityKind::V,      QuantityKind::Ay,          QuantityKind::A,
      QuantityKind::Angle, QuantityKind::Radius, QuantityKind::AngularSpeed};
  const struct {
    const char* what;
    const MarksData& marks;
    Calibration calibration;
    bool derive;
    std::vector<bool> derivedObjects;
    bool positioned;
  } cases[] = {
      {"not derived yet", full, Metres(1, 1), false, {false, false, false}, true},
      {"derivation stops at the second object",
       broken,
       Metres(1, 1),
       true,
       {true, false, false},
       true},
      {"scale missing", full, Metres(-1, 1), false, {false, false, false}, false},
  };
  for (const auto& c : cases) {
    FrameResults table;
    ASSERT_TRUE(table.Rebuild(full, {1, 1, 0.4, false, true, kT})) << c.what;
    ASSERT_EQ(table.ComputeDerivatives({}), DerivationStatus::Ok) << c.what;
    table.Rebuild(c.marks, c.calibration);
    if (c.derive) table.ComputeDerivatives({});
    for (int o = 0; o < 3; ++o) {
      for (const Orientation orientation : {Orientation::User, Orientation::Picture}) {
        const double x = table.CellValue(orientation, o, QuantityKind::X, 0);
        EXPECT_EQ(x != 0, c.positioned) << c.what << ", object " << o;
        for (const QuantityKind kind : kDerived) {
          const double value = table.CellValue(orientation, o, kind, 0);
          EXPECT_EQ(value != 0, c.derivedObjects[static_cast<std::size_t>(o)])
              << c.what << ", object " << o << ", kind " << static_cast<int>(kind);
        }
      }
    }
  }
}

TEST(ResultsComputation, UnequalSpacingAndMissingMarks) {
  // Marks on frames 5, 7 and 12 become time indices 0, 2 and 7; the second object misses one.
  const auto first = [](int k) -> std::optional<std::pair<double, double>> {
    return std::pair{0.1 * k, 0.0};
  };
  const auto second = [](int k) -> std::optional<std::pair<double, double>> {
    if (k == 2) return std::nullopt;
    return std::pair{0.0, 0.05 * k};
  };
  FrameResults frameResults;
  frameResults.Rebuild(MarksFrom({0, 2, 7}, kT, {first, second}), Metres(1, 1));
  EXPECT_EQ(frameResults.Times(), (std::vector<double>{0, 0.08, 0.28}));
  EXPECT_EQ(frameResults.TimeIndices(1), (std::vector<int>{0, -1, 7}));
  EXPECT_EQ(frameResults.MarkCount(1), 2);
  // Two marks cannot be derived: the whole call fails at that object.
  EXPECT_EQ(frameResults.ComputeDerivatives({}), DerivationStatus::TooFewSamples);
  // The first object's uniform speed is exact on every row despite the unequal spacing.
  for (int row = 0; row < 3; ++row)
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Vx, row), 0.1 / kT, 1e-9)
        << row;
  EXPECT_DOUBLE_EQ(frameResults.ColumnMax(Orientation::User, 1, QuantityKind::Y), 0.35);
  EXPECT_DOUBLE_EQ(frameResults.ColumnMin(Orientation::User, 1, QuantityKind::Y), 0.0);
  const auto trajectory = frameResults.RelativeTrajectory(0, 1, false);
  ASSERT_EQ(trajectory.size(), 2u);
  EXPECT_EQ(trajectory[1].number, 3);
  EXPECT_DOUBLE_EQ(trajectory[1].a, 0.7);
  EXPECT_DOUBLE_EQ(trajectory[1].b, -0.35);
}

TEST(ResultsComputation, AngleGoingRoundTwiceGrowsWithoutJumps) {
  const int count = 40;
  const auto circling = [](int k) -> std::optional<std::pair<double, double>> {
    const double angle = 4 * kPi * k / 39.0 + 0.1;
    return std::pair{0.3 * std::cos(angle), 0.3 * std::sin(angle)};
  };
  FrameResults frameResults;
  frameResults.Rebuild(MarksFrom(Range(count), kT, {circling}), Metres(1, 1));
  ASSERT_EQ(frameResults.ComputeDerivatives({}), DerivationStatus::Ok);
  for (int i = 0; i < count; ++i) {
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Angle, i),
                4 * kPi * i / 39.0 + 0.1, 1e-9);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::Radius, i), 0.3, 1e-12);
    EXPECT_NEAR(frameResults.CellValue(Orientation::User, 0, QuantityKind::AngularSpeed, i),
                4 * kPi / 39.0 / kT, 1e-6);
  }
}

TEST(ResultsComputation, SelectorsChooseTheFrameOfReference) {
  bool transparent = false;
  ResultsComputation results([&] { return transparent; });
  const auto still = [](int) -> std::optional<std::pair<double, double>> {
    return std::pair{0.5, 0.5};
  };
  const auto source = [&](bool isTransparent) {
    return std::pair{MarksFrom(Range(3), kT, {still}), Metres(isTransparent ? 2 : 1, 1)};
  };
  EXPECT_TRUE(results.IsStale(FrameSelector::Both));
  ASSERT_TRUE(results.Rebuild(FrameSelector::Fixed, source));
  EXPECT_FALSE(results.IsStale(FrameSelector::Current));
  EXPECT_TRUE(results.IsStale(FrameSelector::Both));
  transparent = true;
  EXPECT_TRUE(results.IsStale(FrameSelector::Current));
  ASSERT_TRUE(results.Rebuild(FrameSelector::Current, source));
  EXPECT_DOUBLE_EQ(results.Current().CellValue(Orientation::User, 0, QuantityKind::X, 0), 1.0);
  EXPECT_FALSE(results.IsStale(FrameSelector::Both));
  results.MarkStale(FrameSelector::Fixed);
  EXPECT_FALSE(results.IsStale(FrameSelector::Current));
  EXPECT_TRUE(results.IsStale(FrameSelector::Both));
  EXPECT_TRUE(results.ComputeDerivatives(FrameSelector::Current, {}));
}

// An object or a row the table does not have carries no mark, so nothing of it reaches a
// maximum, a graph or a trajectory.
TEST(ResultsComputation, ObjectsAndRowsOutsideTheTableHaveNoMark) {
  const auto still = [](int) -> std::optional<std::pair<double, double>> {
    return std::pair{0.5, 0.5};
  };
  FrameResults frameResults;
  ASSERT_TRUE(frameResults.Rebuild(MarksFrom(Range(3), kT, {still}), Metres(2, 2)));
  const struct { int object, row; } outside[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 3}};
  for (const auto& c : outside)
    EXPECT_FALSE(frameResults.HasMark(c.object, c.row)) << c.object << ", " << c.row;
  EXPECT_TRUE(frameResults.HasMark(0, 2));
  EXPECT_DOUBLE_EQ(frameResults.ColumnMax(Orientation::User, 1, QuantityKind::X), -1e100);
  EXPECT_DOUBLE_EQ(frameResults.ColumnMin(Orientation::User, -1, QuantityKind::X), 1e100);
  EXPECT_TRUE(
      frameResults.SeriesForGraph(Orientation::User, 1, QuantityKind::Time, QuantityKind::X, false)
          .empty());
  EXPECT_TRUE(frameResults.RelativeTrajectory(0, 1, false).empty());
}

TEST(ResultsComputation, NoObjectDerivesWithItsOwnStatusAndOutOfRangeGivesZero) {
  FrameResults frameResults;
  frameResults.Rebuild({}, Metres(1, 1));
  EXPECT_EQ(frameResults.ComputeDerivatives(
                {DerivationFlag::SmoothSpeed, DerivationFlag::SmoothAcceleration}),
            DerivationStatus::NoObject);
  EXPECT_DOUBLE_EQ(frameResults.CellValue(Orientation::User, 0, QuantityKind::X, 5), 0);
  EXPECT_DOUBLE_EQ(frameResults.CellValue(Orientation::User, 0, static_cast<QuantityKind>(9), 0),
                   0);
  EXPECT_EQ(frameResults.MarkedTimeIndex(3, 3), 0);
  EXPECT_DOUBLE_EQ(frameResults.ColumnMax(Orientation::User, 0, QuantityKind::X), -1e100);
}

}  // namespace
}  // namespace kinovia
