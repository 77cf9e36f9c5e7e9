#include <gtest/gtest.h>

#include <cmath>

#include "logic/tracking/OutlineDrawing.h"

namespace kinovia {
namespace {

TEST(OutlineDrawing, EachShapeEndsOnItsOwnClick) {
  struct Case {
    OutlineShape shape;
    int clicksBeforeEnd;  // single clicks that do not finish
    bool endsOnDoubleClick;
  };
  const Case cases[] = {
      {OutlineShape::FreeLine, 1, false},
      {OutlineShape::Circle, 1, false},
      {OutlineShape::Polygon, 4, true},
  };
  for (const Case& c : cases) {
    OutlineDrawing drawing(c.shape);
    for (int i = 0; i < c.clicksBeforeEnd; ++i) {
      EXPECT_FALSE(drawing.Press({0.1 * (i + 1), 0.2}, false)) << int(c.shape) << ' ' << i;
      EXPECT_TRUE(drawing.Drawing());
    }
    EXPECT_TRUE(drawing.Press({0.5, 0.5}, c.endsOnDoubleClick)) << int(c.shape);
  }
}

TEST(OutlineDrawing, FreeLineTakesThePointerPathAndPolygonItsClicks) {
  OutlineDrawing free(OutlineShape::FreeLine);
  free.Press({0.1, 0.1}, false);
  free.Move({0.2, 0.1});
  free.Move({0.2, 0.1});  // no move, no point
  free.Move({0.2, 0.3});
  EXPECT_EQ(free.Take(100, 100), (std::vector<PointD>{{0.1, 0.1}, {0.2, 0.1}, {0.2, 0.3}}));
  EXPECT_FALSE(free.Drawing());

  OutlineDrawing polygon(OutlineShape::Polygon);
  polygon.Press({0.1, 0.1}, false);
  polygon.Move({0.4, 0.4});  // only the rubber band follows
  EXPECT_EQ(polygon.RubberEnd(), (PointD{0.4, 0.4}));
  polygon.Press({0.3, 0.1}, false);
  // A double click's first press already added the point; the second finishes without a twin.
  polygon.Press({0.3, 0.3}, false);
  EXPECT_TRUE(polygon.Press({0.3, 0.3}, true));
  EXPECT_EQ(polygon.Take(100, 100).size(), 3u);
}

// A circle ends on the clicked rim, move or no move; a double click on its centre (press, then
// the double click) does not end it with no radius.
TEST(OutlineDrawing, CircleEndsOnTheClickedRim) {
  OutlineDrawing circle(OutlineShape::Circle);
  circle.Press({0.5, 0.5}, false);
  EXPECT_FALSE(circle.Press({0.5, 0.5}, true));
  EXPECT_TRUE(circle.Drawing());
  EXPECT_TRUE(circle.Press({0.6, 0.5}, false));
  EXPECT_NEAR(circle.RubberEnd().x, 0.6, 1e-12);
  EXPECT_GT(circle.Take(100, 100).size(), 20u);
}

TEST(OutlineDrawing, CircleBecomesItsRimPixelsOnThePicture) {
  OutlineDrawing circle(OutlineShape::Circle);
  circle.Press({0.5, 0.5}, false);  // pixel (320, 240) of a 640 x 480 picture
  circle.Move({330.0 / 640, 240.0 / 480});
  ASSERT_TRUE(circle.Press({330.0 / 640, 240.0 / 480}, false));
  const auto rim = circle.Take(640, 480);
  ASSERT_GT(rim.size(), 40u);
  for (const PointD& p : rim) EXPECT_NEAR(std::hypot(p.x * 640 - 320, p.y * 480 - 240), 10, 0.75);
}

TEST(OutlineDrawing, ShapeOptionIsStoredInTheOppositeOrder) {
  EXPECT_EQ(ShapeFromOption(0), OutlineShape::Circle);
  EXPECT_EQ(ShapeFromOption(1), OutlineShape::Polygon);
  EXPECT_EQ(ShapeFromOption(2), OutlineShape::FreeLine);
  OutlineDrawing drawing(OutlineShape::Polygon);
  drawing.Press({0.1, 0.1}, false);
  drawing.SetShape(OutlineShape::Circle);
  EXPECT_FALSE(drawing.Drawing());
}

}  // namespace
}  // namespace kinovia
