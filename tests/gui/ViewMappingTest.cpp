#include "gui/ViewMapping.h"

#include <gtest/gtest.h>

namespace kinovia {
namespace {

// A 640 x 480 picture shown in a 320 x 240 view: one view pixel is two picture pixels at 100 %.
ViewMapping MakeMapping() {
  ViewMapping m;
  m.SetPicture(640, 480);
  m.SetViewSize(320, 240);
  return m;
}

TEST(ZoomSteps, FollowTheStepRuleAndStayInRange) {
  struct Case {
    int zoom;
    bool in;
    bool ctrl;
    int expected;
  } cases[] = {
      {100, true, false, 200},  {150, true, false, 200},  {200, true, false, 300},
      {550, true, false, 600},  {600, true, false, 800},  {800, true, false, 800},
      {200, false, false, 100}, {250, false, false, 200}, {300, false, false, 200},
      {301, false, false, 300}, {600, false, false, 500}, {700, false, false, 600},
      {800, false, false, 600}, {100, false, false, 100}, {100, true, true, 110},
      {110, false, true, 100},  {100, false, true, 100},  {795, true, true, 800},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextZoom(c.zoom, c.in, c.ctrl), c.expected)
        << c.zoom << (c.in ? " in" : " out") << (c.ctrl ? " ctrl" : "");
}

TEST(ViewMapping, AtFullViewFractionsAreProportional) {
  const auto m = MakeMapping();
  EXPECT_EQ(m.ToFraction({160, 60}), (PointD{0.5, 0.25}));
  EXPECT_EQ(m.ToView({0.5, 0.25}), (PointI{160, 60}));
}

TEST(ViewMapping, PositionsOutsideThePictureClampToTheEdges) {
  auto m = MakeMapping();
  m.ZoomClick(300, 200, true, false);
  for (PointI p : {PointI{-50, -50}, PointI{10000, 10000}, PointI{-1, 5000}}) {
    const auto f = m.ToFraction(p);
    EXPECT_GE(f.x, 0.0);
    EXPECT_LE(f.x, 1.0);
    EXPECT_GE(f.y, 0.0);
    EXPECT_LE(f.y, 1.0);
  }
}

TEST(ViewMapping, ClickAtTheRightEdgeShowsTheRightHalf) {
  auto m = MakeMapping();
  ASSERT_TRUE(m.ZoomClick(320, 120, true, false));
  EXPECT_EQ(m.Zoom(), 200);
  EXPECT_EQ(m.Source(), (IntRect{320, 120, 320, 240}));
  // The view's left edge now shows the middle of the picture.
  EXPECT_EQ(m.ToFraction({0, 0}), (PointD{0.5, 0.25}));
}

TEST(ViewMapping, ClickedPointStaysUnderThePointerAwayFromEdges) {
  auto m = MakeMapping();
  const PointD before = m.ToFraction({160, 120});
  m.ZoomClick(160, 120, true, false);
  EXPECT_EQ(m.ToView(before), (PointI{160, 120}));
}

TEST(ViewMapping, LimitsLeaveTheZoomUnchanged) {
  auto m = MakeMapping();
  EXPECT_FALSE(m.ZoomClick(10, 10, false, false));
  EXPECT_EQ(m.Source(), (IntRect{0, 0, 640, 480}));
  while (m.Zoom() < 800) m.ZoomClick(100, 100, true, false);
  const IntRect source = m.Source();
  EXPECT_FALSE(m.ZoomClick(100, 100, true, false));
  EXPECT_EQ(m.Source(), source);
}

TEST(ViewMapping, SmallRubberRectangleIsAClick) {
  auto m = MakeMapping();
  EXPECT_FALSE(m.ZoomToRectangle({100, 100, 5, 50}));
  EXPECT_EQ(m.Zoom(), 100);
}

TEST(ViewMapping, RubberRectangleZoomsAndCentres) {
  auto m = MakeMapping();
  // A quarter-size rectangle drawn from its lower right corner: 4 x, rounded to a multiple of 10.
  ASSERT_TRUE(m.ZoomToRectangle({200, 150, -80, -60}));
  EXPECT_EQ(m.Zoom(), 400);
  EXPECT_EQ(m.Source(), (IntRect{240, 180, 160, 120}));
  // A tiny rectangle would ask more than the maximum.
  m.Reset();
  m.ZoomToRectangle({0, 0, 12, 12});
  EXPECT_EQ(m.Zoom(), 800);
}

TEST(ViewMapping, PanMovesAgainstTheDragAndStaysInsideThePicture) {
  auto m = MakeMapping();
  m.ZoomClick(160, 120, true, false);
  EXPECT_EQ(m.Source().left, 160);
  m.PanBy(20, 0);  // 20 view pixels are 20 picture pixels at 200 % here
  EXPECT_EQ(m.Source().left, 140);
  m.PanBy(-1000, -1000);
  EXPECT_EQ(m.Source().left, m.MaxScrollX());
  EXPECT_EQ(m.Source().top, m.MaxScrollY());
  m.ScrollTo(-5, 99999);
  EXPECT_EQ(m.Source().left, 0);
  EXPECT_EQ(m.Source().top, m.MaxScrollY());
}

TEST(ViewMapping, SlowPanAtHighZoomStillMoves) {
  auto m = MakeMapping();
  while (m.Zoom() < 800) m.ZoomClick(160, 120, true, false);
  const int left = m.Source().left;
  for (int i = 0; i < 8; ++i) m.PanBy(-1, 0);  // a quarter picture pixel each
  EXPECT_EQ(m.Source().left, left + 2);
}

TEST(ViewMapping, WithoutPictureOrViewNothingDividesByZero) {
  ViewMapping m;
  EXPECT_EQ(m.ToFraction({10, 10}), (PointD{0, 0}));
  EXPECT_EQ(m.ToView({0.5, 0.5}), (PointI{0, 0}));
  m.ZoomClick(5, 5, true, false);
  m.PanBy(3, 3);
  EXPECT_EQ(m.Source(), (IntRect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace kinovia
