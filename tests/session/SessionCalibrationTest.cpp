// Scale, fixed frame and transparent, placed and edited with the mouse, and the conversion of
// marks to metres.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "tests/session/SessionFakes.h"

namespace kinovia::test {
namespace {

constexpr double kPi = std::numbers::pi;

// A single segment from (0.25, 0.5) to (0.75, 0.5) of 1 m on the 640 x 480 picture.
void PlaceMetreSegment(SessionRig& rig) {
  rig.data.SetTool(PointingTool::Scale);
  rig.Click(160, 240);
  rig.Click(480, 240);
  rig.data.SetScaleLength(Scale::kSingle, 1.0);
}

TEST(SessionScale, SingleSegmentFactors) {
  SessionRig rig;
  int scaleChanges = 0;
  rig.data.Subscribe(SessionEvent::ScaleChanged, [&](const Session&) { ++scaleChanges; });
  PlaceMetreSegment(rig);
  EXPECT_EQ(scaleChanges, 2);
  EXPECT_TRUE(rig.data.CalibrationScale().Valid());
  const ScaleFactors f = rig.data.Conversion().factors;
  EXPECT_DOUBLE_EQ(f.sx, 2.0);
  EXPECT_DOUBLE_EQ(f.sy, 1.5);
}

TEST(SessionScale, PhysicalCoordinatesOfAMark) {
  struct Case {
    double theta;
    bool directX;
    double x;
    double y;
  };
  const Case cases[] = {
      {0.0, true, 1.0, 0.375},
      {kPi / 2, true, 0.375, -1.0},
      {kPi / 2, false, -0.375, -1.0},
  };
  SessionRig rig;
  PlaceMetreSegment(rig);
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(160, 240);  // origin (0.25, 0.5)
  rig.data.SetTool(PointingTool::Mark);
  rig.Click(480, 120);  // mark (0.75, 0.25)
  const PointedData d = rig.data.GetData();
  for (const Case& c : cases) {
    MetricConversion conversion = rig.data.Conversion();
    conversion.theta = c.theta;
    conversion.directX = c.directX;
    const PointD p = ToPhysical({d.x[0][0], d.y[0][0]}, conversion);
    EXPECT_NEAR(p.x, c.x, 1e-12) << c.theta << " " << c.directX;
    EXPECT_NEAR(p.y, c.y, 1e-12) << c.theta << " " << c.directX;
  }
}

TEST(SessionScale, ConversionFollowsTheAxesAndTheirDirection) {
  SessionRig rig;
  PlaceMetreSegment(rig);
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(160, 240);
  rig.data.SetXAxisAngle(kPi / 2);
  rig.data.InvertXAxis();
  const MetricConversion c = rig.data.Conversion();
  EXPECT_DOUBLE_EQ(c.theta, kPi / 2);
  EXPECT_FALSE(c.directX);
  EXPECT_TRUE(c.directY);
}

TEST(SessionScale, HorizontalAndVerticalSegments) {
  SessionRig rig;
  rig.data.OptionsChanged(SessionOptions{.twoScales = true});
  EXPECT_EQ(rig.data.CalibrationScale().Selection(), Scale::kVert);
  rig.data.SetScaleSelection(Scale::kHoriz);
  rig.data.SetTool(PointingTool::Scale);
  rig.Click(64, 100);
  rig.Click(64, 300);  // same column: ignored
  EXPECT_EQ(rig.data.CalibrationScale().PointCount(Scale::kHoriz), 1);
  rig.Click(576, 300);
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kHoriz, 1).y, 100 / 480.0);
  rig.data.SetScaleLength(Scale::kHoriz, 4.0);

  rig.data.SetScaleSelection(Scale::kVert);
  rig.Click(10, 48);
  rig.Click(300, 48);  // same row: ignored
  rig.Click(300, 288);
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kVert, 1).x, 10 / 640.0);
  EXPECT_FALSE(rig.data.CalibrationScale().Valid());
  rig.data.SetScaleLength(Scale::kVert, 1.0);
  EXPECT_TRUE(rig.data.CalibrationScale().Valid());
  const ScaleFactors f = rig.data.Conversion().factors;
  EXPECT_DOUBLE_EQ(f.sx, 5.0);  // 4 m over 0.8 of the width
  EXPECT_DOUBLE_EQ(f.sy, 2.0);  // 1 m over 0.5 of the height
}

TEST(SessionScale, SecondPointOnFirstPixelIsIgnoredAndRubberLineFollows) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Scale);
  rig.Click(100, 100);
  rig.Click(100, 100);
  EXPECT_EQ(rig.data.CalibrationScale().PointCount(Scale::kSingle), 1);
  rig.data.MouseMove({150, 170});
  const auto rubber = rig.data.CalibrationScale().RubberLine();
  ASSERT_TRUE(rubber.has_value());
  EXPECT_EQ(rubber->first, (PointI{100, 100}));
  EXPECT_EQ(rubber->second, (PointI{150, 170}));
  EXPECT_FALSE(rig.data.Conversion().factors.Usable());
}

TEST(SessionScale, ErasedSecondPointLeavesNoScale) {
  SessionRig rig;
  PlaceMetreSegment(rig);
  rig.Click(0, 0, MouseButton::Right);
  EXPECT_EQ(rig.data.CalibrationScale().PointCount(Scale::kSingle), 1);
  EXPECT_FALSE(rig.data.CalibrationScale().Valid());
  EXPECT_FALSE(rig.data.Conversion().factors.Usable());
}

TEST(SessionScale, DraggingTheBodyAndAnEnd) {
  SessionRig rig;
  PlaceMetreSegment(rig);
  rig.data.MouseMove({320, 241});
  EXPECT_EQ(rig.data.Cursor(), SessionCursor::Move);
  rig.Drag({320, 241}, {320, 289});  // whole segment down by 48 pixels
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kSingle, 0).y, 0.6);
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kSingle, 1).y, 0.6);
  rig.Drag({480, 288}, {640, 288});  // second end to the right edge
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kSingle, 1).x, 1.0);
  EXPECT_DOUBLE_EQ(rig.data.CalibrationScale().Point(Scale::kSingle, 0).x, 0.25);
  EXPECT_EQ(rig.data.CalibrationScale().Drag(), Scale::kIdle);
}

TEST(SessionAxes, PlacingTurningAndErasing) {
  SessionRig rig;
  int changes = 0;
  rig.data.Subscribe(SessionEvent::AxesChanged, [&](const Session&) { ++changes; });
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(320, 240);
  EXPECT_TRUE(rig.data.OriginPlaced());
  EXPECT_EQ(changes, 1);
  const FixedAxes& r = rig.data.ReferenceAxes();
  EXPECT_EQ(r.XAxis()[0], (PointI{0, 240}));
  EXPECT_EQ(r.XAxis()[1], (PointI{639, 240}));
  EXPECT_EQ(r.YArrowEnd(), (PointI{320, 0}));

  rig.Drag({320, 100}, {420, 240});  // the Y axis turned to the right
  EXPECT_NEAR(r.YAngle(), 0.0, 1e-12);
  EXPECT_NEAR(r.XAngle(), -kPi / 2, 1e-12);
  EXPECT_EQ(r.XArrowEnd(), (PointI{320, 479}));

  rig.Drag({320, 240}, {330, 250});  // the origin moved by (10, 10)
  EXPECT_DOUBLE_EQ(rig.data.CurrentOrigin().x, 330 / 640.0);
  EXPECT_DOUBLE_EQ(rig.data.CurrentOrigin().y, 250 / 480.0);

  rig.Click(5, 5, MouseButton::Right);
  EXPECT_FALSE(rig.data.OriginPlaced());
  EXPECT_EQ(r.XAngle(), 0.0);
  EXPECT_DOUBLE_EQ(r.YAngle(), kPi / 2);
}

TEST(SessionAxes, PressesReachOnlyTheOriginAndTheArrowSides) {
  const struct {
    PointI press;
    FixedAxes::DragMode drag;
  } cases[] = {
      {{322, 237}, FixedAxes::kMoveOrigin}, {{500, 242}, FixedAxes::kTurnX},
      {{100, 240}, FixedAxes::kIdle},  // negative side of the X axis
      {{318, 50}, FixedAxes::kTurnY},       {{320, 400}, FixedAxes::kIdle},
      {{500, 250}, FixedAxes::kIdle},  // 10 pixels off the axis
  };
  for (const auto& c : cases) {
    SessionRig rig;
    rig.data.SetTool(PointingTool::Axes);
    rig.Click(320, 240);
    rig.data.MousePress(MouseButton::Left, c.press);
    EXPECT_EQ(rig.data.ReferenceAxes().Drag(), c.drag) << c.press.x << "," << c.press.y;
    EXPECT_EQ(rig.data.CurrentHistory().Count(), c.drag == FixedAxes::kIdle ? 1u : 2u);
  }
}

TEST(SessionAxes, InvertedAxisTurnsFromItsArrowEnd) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(320, 240);
  rig.data.InvertXAxis();
  EXPECT_EQ(rig.data.ReferenceAxes().XArrowEnd(), (PointI{0, 240}));
  rig.Drag({100, 240}, {320, 140});  // arrow end pulled up: the negative side points up
  EXPECT_NEAR(rig.data.XAxisAngle(), -kPi / 2, 1e-12);
}

TEST(SessionAxes, TransparentModeAnswersForTheSheet) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(100, 100);
  rig.data.SetXAxisAngle(1.0);
  rig.video.mode = WorkingMode::Transparent;
  EXPECT_TRUE(rig.data.OriginPlaced());
  EXPECT_EQ(rig.data.XAxisAngle(), 0.0);
  EXPECT_EQ(rig.data.CurrentOrigin(), (PointD{0, 0}));
  EXPECT_EQ(rig.data.Conversion().theta, 0.0);
  rig.video.mode = WorkingMode::FixedAxes;
  EXPECT_DOUBLE_EQ(rig.data.XAxisAngle(), 1.0);
}

TEST(SessionAxes, ZoomedViewClipsTheAxesAndRecomputesPositions) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(320, 240);
  rig.data.SetTool(PointingTool::Mark);
  rig.Click(160, 120);
  rig.view.zoom = 200;
  rig.view.ox = 0.25;
  rig.view.oy = 0.25;
  rig.data.ViewChanged();
  EXPECT_EQ(rig.data.FixedStore().Marks()[0]->Screen(), (PointI{0, 0}));
  EXPECT_EQ(rig.data.ReferenceAxes().OriginScreen(), (PointI{320, 240}));
  EXPECT_EQ(rig.data.ReferenceAxes().XAxis()[1], (PointI{639, 240}));
}

// Drops the sheet at the pointer by a click in stage 0 and points the object in stage 2.
void CarryAndPoint(SessionRig& rig, PointI sheet, PointI object) {
  rig.Click(sheet.x, sheet.y);
  rig.Click(object.x, object.y);
}

TEST(SessionTransparent, CarryDropAndPointRelativeToTheSheet) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  const TransparentSheet& sheet = rig.data.Transparent();
  EXPECT_DOUBLE_EQ(sheet.Origin().x, 0.45);
  EXPECT_DOUBLE_EQ(sheet.Origin().y, 0.55);

  rig.data.MousePress(MouseButton::Left, {288, 264});  // grab exactly at the origin
  EXPECT_EQ(sheet.Stage(), TransparentSheet::kCarried);
  rig.data.MouseMove({320, 240});
  EXPECT_DOUBLE_EQ(sheet.Origin().x, 0.5);
  rig.data.MouseRelease(MouseButton::Left, {320, 240});
  EXPECT_EQ(sheet.Stage(), TransparentSheet::kWaitMark);
  ASSERT_EQ(sheet.Origins().size(), 1u);
  EXPECT_EQ(sheet.Origins()[0]->Frame(), 0);

  rig.Click(384, 192);  // (0.6, 0.4)
  EXPECT_EQ(sheet.Stage(), TransparentSheet::kWaitGrab);
  EXPECT_EQ(rig.video.frame, 1);
  CarryAndPoint(rig, {320, 240}, {416, 240});  // frame 1: sheet not moved, object at (0.65, 0.5)
  const PointedData d = rig.data.GetData();
  ASSERT_EQ(d.x[0].size(), 2u);
  EXPECT_NEAR(d.x[0][0], 0.1, 1e-12);
  EXPECT_NEAR(d.y[0][0], 0.1, 1e-12);
  EXPECT_NEAR(d.x[0][1], 0.15, 1e-12);
  EXPECT_NEAR(d.y[0][1], 0.0, 1e-12);
}

TEST(SessionTransparent, DefaultOriginFollowsTheAxesDirections) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  rig.data.InvertXAxis();
  EXPECT_DOUBLE_EQ(rig.data.Transparent().Origin().x, 0.55);
  rig.data.InvertYAxis();
  EXPECT_DOUBLE_EQ(rig.data.Transparent().Origin().y, 0.45);
  EXPECT_FALSE(rig.data.DirectX());
  EXPECT_TRUE(rig.data.ReferenceAxes().DirectX());
  EXPECT_EQ(rig.data.Transparent().SheetRect(), (RectI{32, -24, 672, 456}));
}

// The sheet with both half sides at `halfSide`, as a reopened work file may bring it back.
void ReopenWithSheet(SessionRig& rig, double halfSide) {
  WorkFileContent work;
  work.layerWidth = halfSide;
  work.layerHeight = halfSide;
  rig.data.Restore(work);
  rig.data.SetTool(PointingTool::Transparent);
}

TEST(SessionTransparent, GrowAndShrinkLimits) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  for (int i = 0; i < 5; ++i) rig.data.KeyResizeSheet(false);
  EXPECT_NEAR(rig.data.Transparent().HalfWidth(), 0.5 * std::pow(0.9, 5), 1e-15);
  ReopenWithSheet(rig, 1.0);
  rig.data.KeyResizeSheet(true);
  EXPECT_DOUBLE_EQ(rig.data.Transparent().HalfWidth(), 1.0);
  ReopenWithSheet(rig, 0.1);
  rig.data.KeyResizeSheet(false);
  EXPECT_DOUBLE_EQ(rig.data.Transparent().HalfWidth(), 0.1);
}

// The sheet dropped and the object pointed on frames 0 and 1; the clip waits on frame 2.
void PointTwoFramesOnTheSheet(SessionRig& rig) {
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  CarryAndPoint(rig, {320, 240}, {400, 200});
  CarryAndPoint(rig, {300, 240}, {420, 200});
}

TEST(SessionTransparent, RightButtonWithdrawsMarkThenCancelsOrigin) {
  SessionRig rig;
  PointTwoFramesOnTheSheet(rig);
  ASSERT_EQ(rig.video.frame, 2);
  const TransparentSheet& sheet = rig.data.Transparent();

  rig.Click(0, 0, MouseButton::Right);  // stage 0: withdraw the mark of frame 1
  EXPECT_EQ(rig.data.MarksCount(), 1);
  EXPECT_EQ(rig.video.frame, 1);
  EXPECT_EQ(sheet.Stage(), TransparentSheet::kWaitMark);

  rig.Click(0, 0, MouseButton::Right);  // stage 2: cancel the origin of frame 1
  EXPECT_EQ(sheet.Origins().size(), 1u);
  EXPECT_EQ(sheet.Stage(), TransparentSheet::kWaitGrab);
  EXPECT_EQ(sheet.Origin(), sheet.Origins()[0]->Position());
}

TEST(SessionTransparent, DeletingAllMarksRemovesOriginsInOneStep) {
  SessionRig rig;
  PointTwoFramesOnTheSheet(rig);
  rig.data.DeleteAllMarks();
  EXPECT_EQ(rig.data.MarksCount(), 0);
  EXPECT_TRUE(rig.data.Transparent().Origins().empty());
  EXPECT_EQ(rig.data.Transparent().Origin(), rig.data.Transparent().DefaultOrigin());
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 2);
  EXPECT_EQ(rig.data.Transparent().Origins().size(), 2u);
}

}  // namespace
}  // namespace kinovia::test
