#include <gtest/gtest.h>

#include "logic/tracking/MeanShift.h"
#include "tests/tracking/TrackingFixtures.h"

namespace kinovia {
namespace {

using test::CircleContour;
using test::Frame;
using test::kBlue;
using test::kGrass;
using test::kRed;

// A red and blue target (two colours, like a painted ball) centred on pixel (cx, cy).
Frame Scene(int cx, int cy, int width = 320, int height = 240) {
  Frame frame(width, height, kGrass);
  frame.Disc(cx + 0.5, cy + 0.5, 9, kRed);
  frame.Disc(cx + 0.5, cy + 0.5, 4, kBlue);
  return frame;
}

// A model learnt on the scene at (cx, cy), the contour on the disc's rim so that the grass round
// it hardly counts; contour vertices are pixel indices, as a click stores them.
PointI Learn(MeanShift& search, const Frame& frame, int cx, int cy, int radius = 20) {
  search.SetSearchRadius(radius);
  PointI start;
  EXPECT_TRUE(
      search.BuildModel(frame.View(), CircleContour(cx, cy, 9, frame.width, frame.height), start));
  search.SetBinCount(MeanShift::kTrackerBins);
  search.ComputeTargetHistogram();
  return start;
}

TEST(MeanShift, WindowSideFollowsTheRadiusOrTheModel) {
  struct Case {
    int radius;
    double modelRadius;
    int side;
  };
  const Case cases[] = {
      {20, 9, 41},    // 2R + 1
      {100, 4, 201},  // a small model in a large search
      {10, 40, 99},   // the model's 83-pixel box x 1.2
      {5, 4, 21},     // radius clamped to 10
      {250, 9, 201},  // radius clamped to 100
  };
  for (const Case& c : cases) {
    Frame frame(320, 240, kGrass);
    frame.Disc(160, 120, c.modelRadius, kRed);
    MeanShift search;
    search.SetSearchRadius(c.radius);
    PointI start;
    ASSERT_TRUE(
        search.BuildModel(frame.View(), CircleContour(160, 120, c.modelRadius, 320, 240), start));
    EXPECT_EQ(search.WindowSide(), c.side) << c.radius << ' ' << c.modelRadius;
  }
}

TEST(MeanShift, ModelStartsAtTheCentroidOfTheContour) {
  const Frame frame = Scene(100, 80);
  MeanShift search;
  EXPECT_EQ(Learn(search, frame, 100, 80), (PointI{100, 80}));
  const auto& q = search.TargetHistogram();
  double total = 0;
  for (double h : q) total += h;
  EXPECT_NEAR(total, 1.0, 1e-12);
  // Most bins stay empty, so the absent colour is the first of them, not a full histogram's white.
  EXPECT_NE(search.AbsentColour(), (Rgb{255, 255, 255}));
}

TEST(MeanShift, TargetOnTheWindowsMiddlePixelHasConverged) {
  // With a 41-pixel window the reference is 20.5, so a target on pixel 20 gives a shift of -0.5,
  // which rounds to nothing: one iteration, no move.
  const Frame frame = Scene(100, 80);
  MeanShift search;
  PointI position = Learn(search, frame, 100, 80);
  const SearchOutcome outcome = search.Search(frame.View(), position, 10);
  EXPECT_EQ(position, (PointI{100, 80}));
  EXPECT_EQ(outcome.iterations, 1);
  ASSERT_TRUE(outcome.hasCentroid);
  EXPECT_NEAR(outcome.centroid.x, 100.5, 0.01);
  EXPECT_NEAR(outcome.centroid.y, 80.5, 0.01);
}

TEST(MeanShift, FollowsAMovedTarget) {
  struct Case {
    PointI to;
    int radius;
  };
  const Case cases[] = {{{108, 74}, 20}, {{88, 91}, 20}, {{140, 110}, 100}, {{60, 50}, 60}};
  for (const Case& c : cases) {
    MeanShift search;
    PointI position = Learn(search, Scene(100, 80), 100, 80, c.radius);
    search.Search(Scene(c.to.x, c.to.y).View(), position, 10);
    EXPECT_NEAR(position.x, c.to.x, 1) << c.to.x << ',' << c.to.y;
    EXPECT_NEAR(position.y, c.to.y, 1) << c.to.x << ',' << c.to.y;
  }
}

TEST(MeanShift, KeepsItsPositionWhenTheTargetIsGoneOrHidden) {
  MeanShift search;
  const PointI learnt = Learn(search, Scene(100, 80), 100, 80);
  // Gone from the frame.
  PointI position = learnt;
  search.Search(Frame(320, 240, kGrass).View(), position, 10);
  EXPECT_EQ(position, learnt);
  // Behind a ban zone covering the whole window.
  const std::vector<std::vector<PointD>> zones{{{0.1, 0.1}, {0.5, 0.1}, {0.5, 0.6}, {0.1, 0.6}}};
  search.SetBanZones(zones, 240, 320);
  position = learnt;
  const SearchOutcome hidden = search.Search(Scene(104, 84).View(), position, 10);
  EXPECT_EQ(position, learnt);
  EXPECT_FALSE(hidden.hasCentroid);
}

TEST(MeanShift, ABanZoneHidesASimilarColourNearby) {
  // A second red and blue disc close by pulls a free search; banned, it is ignored.
  Frame frame = Scene(100, 80);
  frame.Disc(122.5, 80.5, 9, kRed);
  frame.Disc(122.5, 80.5, 4, kBlue);
  MeanShift search;
  const PointI learnt = Learn(search, Scene(100, 80), 100, 80);
  search.SetBanZones(std::vector<std::vector<PointD>>{{{112.0 / 320, 60.0 / 240},
                                                       {140.0 / 320, 60.0 / 240},
                                                       {140.0 / 320, 100.0 / 240},
                                                       {112.0 / 320, 100.0 / 240}}},
                     240, 320);
  PointI position = learnt;
  search.Search(frame.View(), position, 10);
  EXPECT_NEAR(position.x, 100, 1);
  EXPECT_NEAR(position.y, 80, 1);
}

TEST(MeanShift, WindowsReachingOutsideTheFrameReadNothingThere) {
  // A target in the corner: the window hangs over two edges and still finds it.
  MeanShift search;
  PointI position = Learn(search, Scene(12, 12), 12, 12, 40);
  search.Search(Scene(8, 10).View(), position, 10);
  EXPECT_NEAR(position.x, 8, 1);
  EXPECT_NEAR(position.y, 10, 1);
}

TEST(MeanShift, ContourOutsideTheFrameGivesNoModel) {
  const Frame frame = Scene(100, 80);
  MeanShift search;
  PointI start{7, 7};
  EXPECT_FALSE(search.BuildModel(frame.View(), CircleContour(-50, -50, 10, 320, 240), start));
  EXPECT_FALSE(search.BuildModel(frame.View(), std::vector<PointD>{{0.5, 0.5}, {0.5, 0.5}}, start));
  EXPECT_EQ(start, (PointI{7, 7}));
  // No model: the search leaves the position alone.
  search.Search(frame.View(), start, 10);
  EXPECT_EQ(start, (PointI{7, 7}));
}

}  // namespace
}  // namespace kinovia
