#include <gtest/gtest.h>

#include "logic/tracking/ColourSpaces.h"

namespace kinovia {
namespace {

TEST(ColourSpaces, BlackAndWhiteSitAtTheEndsOfLightness) {
  const Luv black = RgbToLuv({0, 0, 0});
  EXPECT_EQ(black.l, 0.0);
  EXPECT_EQ(black.u, 0.0);
  EXPECT_EQ(black.v, 0.0);
  const Luv white = RgbToLuv({255, 255, 255});
  EXPECT_NEAR(white.l, 100.0, 0.05);
  // The white point is the reference chromaticity: no hue left.
  EXPECT_NEAR(white.u, 0.0, 0.5);
  EXPECT_NEAR(white.v, 0.0, 0.5);
}

TEST(ColourSpaces, ColoursComeBackFromLuvWithinOneStep) {
  const Rgb colours[] = {{255, 255, 255}, {205, 40, 32},  {36, 70, 200}, {0, 255, 0},
                         {128, 128, 128}, {10, 200, 250}, {255, 0, 255}, {3, 2, 1}};
  for (const Rgb c : colours) {
    const Rgb back = LuvToRgb(RgbToLuv(c));
    EXPECT_NEAR(back.r, c.r, 1) << int(c.r) << ',' << int(c.g) << ',' << int(c.b);
    EXPECT_NEAR(back.g, c.g, 1) << int(c.r) << ',' << int(c.g) << ',' << int(c.b);
    EXPECT_NEAR(back.b, c.b, 1) << int(c.r) << ',' << int(c.g) << ',' << int(c.b);
  }
}

TEST(ColourSpaces, DarkOrImpossibleLuvGivesBlackOrClampedChannels) {
  EXPECT_EQ(LuvToRgb({0.09, 50, -50}), (Rgb{0, 0, 0}));
  // Far outside the RGB cube: saturated channels, never a wrapped byte.
  const Rgb red = LuvToRgb({60, 400, 0});
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.g, 0);
}

TEST(HistogramBins, ValuesFallIntoTheirBinsAndOutOfRangeOnesIntoTheEnds) {
  const HistogramBins bins(20);
  struct Case {
    Luv colour;
    int l, u, v;
  };
  const Case cases[] = {
      {{0, 0, 0}, 0, 0, 0},
      {{4.99, 12.9, 12.0}, 0, 0, 0},
      {{5.0, 12.92, 12.08}, 1, 1, 1},
      {{50, -30, -80}, 10, 0, 0},  // negative u* and v* are not offset: bin 0
      {{100, kLuvRangeU, kLuvRangeV}, 19, 19, 19},
      {{180, 900, 1e300}, 19, 19, 19},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bins.BinOf(c.colour), (c.l * 20 + c.u) * 20 + c.v)
        << c.colour.l << ' ' << c.colour.u << ' ' << c.colour.v;
    const Luv centre = bins.CentreOf(bins.BinOf(c.colour));
    EXPECT_EQ(bins.BinOf(centre), bins.BinOf(c.colour));
  }
}

}  // namespace
}  // namespace kinovia
