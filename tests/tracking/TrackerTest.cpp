#include <gtest/gtest.h>

#include "logic/tracking/Tracker.h"
#include "resources/TxtTracking.h"
#include "tests/tracking/TrackingFixtures.h"

namespace kinovia {
namespace {

using test::CircleContour;
using test::Frame;

Frame Ball(double cx, double cy) {
  Frame frame(200, 150, test::kGrass);
  frame.Disc(cx, cy, 8, test::kRed);
  frame.Disc(cx, cy, 3, test::kBlue);
  return frame;
}

// A tracker of `objects` objects on a clip of `frames` frames, the current object's contour drawn
// on frame `contourFrame`.
Tracker WithContour(int objects, int frames, int contourFrame) {
  Tracker tracker;
  tracker.Reset(objects, frames);
  EXPECT_TRUE(
      tracker.SetContour(CircleContour(50, 50, 10, 200, 150), contourFrame, Ball(50, 50).View()));
  return tracker;
}

TEST(Tracker, RunVisitsEveryStepFromTheContourFrameToTheLastFrame) {
  Tracker tracker = WithContour(1, 20, 3);
  tracker.SetLastFrame(9);
  EXPECT_EQ(tracker.RunFrames(2), (std::vector<int>{3, 5, 7, 9}));
  EXPECT_EQ(tracker.RunFrames(3), (std::vector<int>{3, 6, 9}));
  // The last frame is never before the first frame's successor nor past the clip.
  tracker.SetLastFrame(1);
  EXPECT_EQ(tracker.LastFrame(), 4);
  tracker.SetLastFrame(400);
  EXPECT_EQ(tracker.LastFrame(), 19);
}

TEST(Tracker, ChecksBeforeARunSayWhatIsMissing) {
  struct Case {
    bool clipOpen;
    bool contour;
    bool drawing;
    int contourFrame;
    std::optional<TxtId> problem;
  };
  const Case cases[] = {
      {false, true, false, 0, txt::TrackOpenClipFirst},
      {true, false, false, 0, txt::TrackDrawContourFirst},
      {true, true, true, 0, txt::TrackDrawContourFirst},
      {true, true, false, 9, txt::TrackStartsOnLastFrame},
      {true, true, false, 12, txt::TrackStartsOnLastFrame},
      {true, true, false, 8, std::nullopt},
  };
  for (const Case& c : cases) {
    Tracker tracker;
    tracker.Reset(1, 10);
    if (c.contour)
      tracker.SetContour(CircleContour(50, 50, 10, 200, 150), c.contourFrame, Ball(50, 50).View());
    EXPECT_EQ(tracker.StartProblem(c.clipOpen, c.drawing), c.problem) << c.contourFrame;
  }
}

TEST(Tracker, RecordsEachFramesPositionAndKeepsThemAsMarksOfTheirSourceFrames) {
  Tracker tracker = WithContour(2, 10, 0);
  tracker.SetObjectIndex(1);
  tracker.SetContour(CircleContour(50, 50, 10, 200, 150), 2, Ball(50, 50).View());
  ASSERT_TRUE(tracker.BeginRun(Ball(50, 50).View(), 12));
  tracker.TrackFrame(Ball(56, 47).View(), 3, 13);
  const auto marks = tracker.Results();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].object, 1);
  EXPECT_EQ(marks[0].frame, 12);
  EXPECT_EQ(marks[1].frame, 13);
  // Whole pixels are stored at the pixel's centre: (56, 47) is the pixel whose centre is 56.5.
  EXPECT_NEAR(marks[1].position.x * 200, 56.5, 1.0);
  EXPECT_NEAR(marks[1].position.y * 150, 47.5, 1.0);
  EXPECT_EQ(tracker.Current().state, TrackedObjectState::Tracked);
  EXPECT_FALSE(tracker.Object(0).HasTrackedFrames());
  tracker.ClearTrackedPositions();
  EXPECT_FALSE(tracker.HasResults());
}

TEST(Tracker, SubpixelPositionsFollowTheTargetBetweenPixels) {
  Tracker tracker = WithContour(1, 10, 0);
  tracker.SetSubpixel(true);
  ASSERT_TRUE(tracker.BeginRun(Ball(50, 50).View(), 0));
  tracker.TrackFrame(Ball(55.3, 47.6).View(), 1, 1);
  const PointD found = tracker.Current().positions[1];
  EXPECT_NEAR(found.x * 200, 55.3, 0.25);
  EXPECT_NEAR(found.y * 150, 47.6, 0.25);
}

TEST(Tracker, ShortOutlinesAreNotStored) {
  Tracker tracker;
  tracker.Reset(1, 10);
  EXPECT_FALSE(tracker.AddBanZone(std::vector<PointD>{{0.1, 0.1}, {0.2, 0.2}}));
  EXPECT_TRUE(tracker.Current().banZones.empty());
  EXPECT_TRUE(tracker.AddBanZone(std::vector<PointD>{{0.1, 0.1}, {0.2, 0.2}, {0.1, 0.3}}));
  // Closed on its first vertex.
  EXPECT_EQ(tracker.Current().banZones[0].size(), 4u);
  EXPECT_FALSE(tracker.SetContour({{0.1, 0.1}, {0.2, 0.2}}, 0, Ball(50, 50).View()));
  EXPECT_FALSE(tracker.Current().contourValid);
}

TEST(Tracker, ObjectsKeepTheirOwnDataWhenTheCountChanges) {
  Tracker tracker = WithContour(3, 10, 0);
  tracker.SetObjectIndex(2);
  tracker.AddBanZone(std::vector<PointD>{{0.1, 0.1}, {0.2, 0.2}, {0.1, 0.3}});
  tracker.ResizeObjects(5);
  EXPECT_EQ(tracker.ObjectIndex(), 2);
  EXPECT_EQ(tracker.Current().banZones.size(), 1u);
  EXPECT_TRUE(tracker.Object(0).contourValid);
  EXPECT_EQ(tracker.Object(4).frameTags.size(), 10u);
  tracker.ResizeObjects(2);
  EXPECT_EQ(tracker.ObjectIndex(), 1);
  tracker.ClearEverything();
  EXPECT_FALSE(tracker.Object(0).contourValid);
}

}  // namespace
}  // namespace kinovia
