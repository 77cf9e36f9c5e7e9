// The graph's arithmetic: framing, orthonormal windows, pixels and data, graduations and labels,
// zoom steps, rectangle zoom and pan.
#include <gtest/gtest.h>

#include <cmath>

#include "core/Numbers.h"
#include "logic/graphs/GraphFraming.h"

using namespace kinovia;

namespace {

void ExpectWindow(const PlotWindow& w, double xMin, double xMax, double yMin, double yMax) {
  EXPECT_NEAR(w.xMin, xMin, 1e-9);
  EXPECT_NEAR(w.xMax, xMax, 1e-9);
  EXPECT_NEAR(w.yMin, yMin, 1e-9);
  EXPECT_NEAR(w.yMax, yMax, 1e-9);
}

}  // namespace

TEST(AutoWindow, FramesEachRangeByItsRule) {
  struct Case {
    const char* what;
    PlotWindow bounds;
    AxisFraming x, y;
    PlotWindow expected;
  };
  const Case cases[] = {
      {"flat ordinate widened then margin", {0, 10, 2, 2}, {}, {}, {-0.5, 10.5, 1.89, 2.11}},
      {"flat ordinate with zero visible",
       {0, 10, 2, 2},
       {},
       {true, false},
       {-0.5, 10.5, -0.105, 2.205}},
      {"time starts at exactly zero", {0.04, 2, 1, 3}, {false, true}, {}, {0, 2.1, 0.9, 3.1}},
      {"speed starts at zero however large",
       {0, 1, 100, 120},
       {},
       {false, true},
       {-0.05, 1.05, 0, 126}},
      {"negative range reaches zero", {0, 1, -4, -2}, {}, {true, false}, {-0.05, 1.05, -4.2, 0.2}},
      {"both ends zero", {0, 1, 0, 0}, {}, {}, {-0.05, 1.05, -1.1e-50, 1.1e-50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PlotWindow w = AutoWindow(c.bounds, c.x, c.y, 0.05);
    ExpectWindow(w, c.expected.xMin, c.expected.xMax, c.expected.yMin, c.expected.yMax);
  }
}

TEST(AutoWindow, WithoutDataOrWithUndefinedBoundsFallsBackToTheDefaultWindow) {
  for (const PlotWindow bounds :
       {EmptyBounds(), PlotWindow{0, kUndefined, 0, 1}, PlotWindow{0, 1, -INFINITY, 1}}) {
    ExpectWindow(AutoWindow(bounds, {}, {}, 0.05), 0, 100, 0, 100);
  }
}

TEST(AutoWindow, WidenBoundsSkipsUndefinedPoints) {
  PlotWindow bounds = EmptyBounds();
  WidenBounds(bounds, 1, 2);
  WidenBounds(bounds, kUndefined, 50);
  WidenBounds(bounds, 3, -1);
  ExpectWindow(bounds, 1, 3, -1, 2);
}

TEST(MakeOrthonormal, WidensTheNarrowerRangeAboutItsCentre) {
  // 400 x 200 pixels: 1 unit a pixel vertically needs 400 units across.
  const PlotWindow tall = MakeOrthonormal({0, 100, 0, 200}, 200, 400);
  ExpectWindow(tall, -150, 250, 0, 200);
  const PlotWindow wide = MakeOrthonormal({0, 1000, 0, 10}, 200, 400);
  ExpectWindow(wide, 0, 1000, -245, 255);
  EXPECT_DOUBLE_EQ((wide.xMax - wide.xMin) / 400, (wide.yMax - wide.yMin) / 200);
  ExpectWindow(MakeOrthonormal({0, 1, 0, 5}, 0, 400), 0, 1, 0, 5);
}

TEST(AtLeastQuarterOf, ASinglePointGetsAQuarterOfThePicture) {
  // A single point at (1, 0.5) on a picture 2 m by 1.5 m wide.
  const PlotWindow w = AtLeastQuarterOf({1, 1, 0.5, 0.5}, 2, 1.5);
  ExpectWindow(w, 0.75, 1.25, 0.3125, 0.6875);
  const PlotWindow framed = MakeOrthonormal(AutoWindow(w, {}, {}, 0.1), 300, 600);
  EXPECT_NEAR((framed.xMax - framed.xMin) / 600, (framed.yMax - framed.yMin) / 300, 1e-12);
  ExpectWindow(AtLeastQuarterOf({0, 2, 0, 1}, 2, 1.5), 0, 2, 0, 1);
}

TEST(PlotMapping, PixelsAndDataRoundTrip) {
  const PlotMapping m{{140, 15, 400, 200}, {-1, 3, 10, 20}};
  EXPECT_DOUBLE_EQ(m.XToData(140), -1);
  EXPECT_DOUBLE_EQ(m.XToData(540), 3);
  EXPECT_DOUBLE_EQ(m.YToData(215), 10);  // the bottom edge is the minimum
  EXPECT_DOUBLE_EQ(m.YToData(15), 20);
  EXPECT_DOUBLE_EQ(m.XToPixel(m.XToData(333)), 333);
  EXPECT_DOUBLE_EQ(m.YToPixel(m.YToData(77)), 77);
}

TEST(AxisLabels, FormatFollowsTheLargestEnd) {
  struct Case {
    double min, max, value;
    const char* text;
  };
  const Case cases[] = {
      {0, 5, 1, "1.000"},        {0, 5, 0, "0.000"},         {0, 50, 12.5, "12.50"},
      {0, 500, 120, "120.0"},    {-2000, 0, -1500, "-1500"}, {0, 20000, 20000, "2.00E+4"},
      {0, 0.1, 0.05, "5.00E-2"}, {-1, 0, -1e-20, "0.000"},
  };
  SetDecimalSeparator('.');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(AxisLabelText(c.value, AxisLabelFormat(c.min, c.max)), c.text);
  }
  SetDecimalSeparator(',');
  EXPECT_EQ(AxisLabelText(1, AxisLabelFormat(0, 5)), "1,000");
  SetDecimalSeparator('.');
}

TEST(AxisGraduations, StayInsideTheRangeAndSnapToZero) {
  double step = 0;
  const auto values = AxisGraduations(-0.3, 0.5, &step);
  ASSERT_FALSE(values.empty());
  for (double v : values) {
    EXPECT_GE(v, -0.3 - 1e-12);
    EXPECT_LE(v, 0.5 + 1e-12);
  }
  EXPECT_NE(std::find(values.begin(), values.end(), 0.0), values.end());
  EXPECT_GT(step, 0);
  EXPECT_TRUE(AxisGraduations(1, 1).empty());
  EXPECT_TRUE(AxisGraduations(0, kUndefined).empty());
}

TEST(Zoom, FactorsStepThroughTheTable) {
  struct Case {
    double from;
    bool in, slow;
    double to;
  };
  const Case cases[] = {
      {1, true, false, 1.5},
      {1.5, true, false, 2},
      {1, true, true, 1.05},
      {1.05, true, true, 1.1},
      {10, true, false, 10},
      {9.9, true, true, 10},
      {1, false, false, 2.0 / 3},
      {1.0 / 16, false, false, 1.0 / 16},
      {1.0 / 16, false, true, 1.0 / 16},
      {1, false, true, 1 - (1 - 2.0 / 3) / 10},
      {1.05, false, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.from << (c.in ? " in" : " out") << (c.slow ? " slow" : ""));
    EXPECT_NEAR(NextZoomFactor(c.from, c.in, c.slow), c.to, 1e-12);
  }
}

TEST(Zoom, AboutAPointKeepsThatPointStill) {
  const PlotWindow w = ZoomAbout({0, 10, 0, 4}, 2, 1, 1, 2, {true, false});
  ExpectWindow(w, 1, 6, 0, 4);
}

TEST(Zoom, RectangleZoomsOnlyWhenLargeEnough) {
  const PlotMapping m{{0, 0, 400, 200}, {0, 400, 0, 200}};
  EXPECT_FALSE(ZoomToRectangle(m, 1, 1, 10, 10, 19, 210, {}, false).changed);
  const RectangleZoom z = ZoomToRectangle(m, 1, 1, 100, 50, 200, 150, {}, false);
  ASSERT_TRUE(z.changed);
  EXPECT_DOUBLE_EQ(z.factorX, 4);
  EXPECT_DOUBLE_EQ(z.factorY, 2);
  ExpectWindow(z.window, 100, 200, 50, 150);
  // An orthonormal graph takes the smaller ratio on both axes.
  const RectangleZoom o = ZoomToRectangle(m, 1, 1, 100, 50, 200, 150, {true, false}, true);
  EXPECT_DOUBLE_EQ(o.factorX, 2);
  EXPECT_DOUBLE_EQ(o.factorY, 2);
  // Factors stay within the table's ends.
  const RectangleZoom tiny = ZoomToRectangle(m, 8, 8, 0, 0, 12, 12, {}, false);
  EXPECT_DOUBLE_EQ(tiny.factorX, kZoomMax);
}

TEST(Pan, MovesTheWindowWithTheMouse) {
  // Dragging right shows what lay to the left; dragging down shows what lay above.
  ExpectWindow(PanWindow({0, 10, 0, 10}, 50, 20, 500, 200), -1, 9, 1, 11);
}
