// The curves of the vectors page seen from another object's frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gui/results/PageCurves.h"
#include "tests/table/TableFixtures.h"

namespace kinovia {
namespace {

using testing::MarksFrom;
using testing::Range;

constexpr double kT = 0.04;

// A ball thrown at 2 m/s across and 3 m/s up beside a cart rolling at 1 m/s; the cart misses
// frame 4.
FrameResults BallAndCart() {
  const auto ball = [](int k) -> std::optional<std::pair<double, double>> {
    const double t = k * kT;
    return std::pair{2 * t, 3 * t - 9.81 / 2 * t * t};
  };
  const auto cart = [](int k) -> std::optional<std::pair<double, double>> {
    if (k == 4) return std::nullopt;
    return std::pair{0.5 + k * kT, 0.0};
  };
  FrameResults results;
  EXPECT_TRUE(results.Rebuild(MarksFrom(Range(12), kT, {ball, cart}), {1, 1, 0, true, true, kT}));
  EXPECT_EQ(results.ComputeDerivatives({}), DerivationStatus::Ok);
  return results;
}

TEST(TrajectoryVectors, SeenFromTheCartTheBallCrossesAtOneMetrePerSecond) {
  const FrameResults results = BallAndCart();
  const auto black = [](int) { return QColor(Qt::black); };
  struct Case {
    int reference;
    double vx;  // the ball's horizontal speed in that frame
  };
  for (const Case c : {Case{-1, 2.0}, Case{1, 1.0}}) {
    const VectorCurves page = TrajectoryVectors(results, VectorKind::Speed, c.reference, {0, 1},
                                                false, black, Orientation::User);
    // The reference object is not drawn in its own frame.
    ASSERT_EQ(page.curves.size(), c.reference < 0 ? 2u : 1u);
    const Curve& ball = page.curves.front();
    ASSERT_EQ(ball.vx.size(), ball.x.size());
    for (std::size_t i = 0; i < ball.x.size(); ++i) {
      const double t = (ball.numbers[i] - 1) * kT;
      EXPECT_NEAR(ball.vx[i], c.vx, 1e-6) << c.reference << " row " << i;
      EXPECT_NEAR(ball.vy[i], 3 - 9.81 * t, 1e-6);
      const double x = c.reference < 0 ? 2 * t : 2 * t - (0.5 + t);
      EXPECT_NEAR(ball.x[i], x, 1e-12);
    }
    // Where the cart has no mark the ball has no position in its frame.
    const bool hasRow5 =
        std::find(ball.numbers.begin(), ball.numbers.end(), 5) != ball.numbers.end();
    EXPECT_EQ(hasRow5, c.reference < 0);
  }
}

}  // namespace
}  // namespace kinovia
