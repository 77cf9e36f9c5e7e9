#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "logic/tracking/Contour.h"

namespace kinovia {
namespace {

int InsideCount(const PolygonMask& mask) {
  int n = 0;
  for (auto cell : mask.inside) n += cell != 0;
  return n;
}

TEST(Contour, PolygonsRasteriseOverTheirWidenedBox) {
  struct Case {
    std::vector<PointI> vertices;
    int width, height, inside;
  };
  const Case cases[] = {
      // A 10 x 10 square, open or closed: 11 x 11 cells, the box widened by one on each side.
      {{{10, 10}, {20, 10}, {20, 20}, {10, 20}}, 13, 13, 121},
      {{{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}}, 13, 13, 121},
      // A right triangle: the diagonal's cells and those below it.
      {{{0, 0}, {4, 4}, {0, 4}}, 7, 7, 15},
      // Two distinct vertices still give their segment's cells.
      {{{5, 5}, {9, 5}}, 7, 3, 5},
      // One vertex repeated: no box.
      {{{5, 5}, {5, 5}, {5, 5}}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const PolygonMask mask = RasterisePolygon(c.vertices);
    EXPECT_EQ(mask.width, c.width);
    EXPECT_EQ(mask.height, c.height);
    EXPECT_EQ(InsideCount(mask), c.inside);
  }
  const PolygonMask square = RasterisePolygon(cases[0].vertices);
  EXPECT_EQ(square.left, 9);
  EXPECT_EQ(square.top, 9);
  EXPECT_TRUE(square.Inside(15, 15));
  EXPECT_FALSE(square.Inside(21, 15));
}

TEST(Contour, CircleBoundaryGoesRoundItsCentreCellByCell) {
  for (int radius : {1, 5, 22, 60}) {
    const PointI centre{100, 80};
    const auto cells = CircleBoundary(centre, radius);
    ASSERT_GE(cells.size(), 4u);
    EXPECT_EQ(cells.front(), (PointI{centre.x + radius, centre.y}));
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const PointI a = cells[i];
      const PointI b = cells[(i + 1) % cells.size()];
      EXPECT_LE(std::abs(a.x - b.x), 1) << radius << " at " << i;
      EXPECT_LE(std::abs(a.y - b.y), 1) << radius << " at " << i;
      EXPECT_FALSE(a == b);
      EXPECT_NEAR(std::hypot(a.x - centre.x, a.y - centre.y), radius, 0.75);
    }
  }
  EXPECT_EQ(CircleBoundary({3, 4}, 0), (std::vector<PointI>{{3, 4}}));
}

TEST(Contour, FractionsBecomePixelsRoundedToEven) {
  EXPECT_EQ(ToPicturePixel({0.5, 0.25}, 640, 480), (PointI{320, 120}));
  // 0.5 / 640 x 640 = 0.5 and 2.5 both round to even.
  EXPECT_EQ(ToPicturePixel({0.5 / 640, 2.5 / 480}, 640, 480), (PointI{0, 2}));
  EXPECT_EQ(ContourCentre(std::vector<PointD>{{0.1, 0.2}, {0.3, 0.6}, {0.2, 0.4}}),
            (PointD{0.2, 0.4}));
}

}  // namespace
}  // namespace kinovia
