// What the formula page plots: its choice lists, its series, its titles and its framing rules.
#include <gtest/gtest.h>

#include <cmath>

#include "core/Numbers.h"
#include "logic/graphs/FormulaAxes.h"

using namespace kinovia;

namespace {

FormulaAxis Axis(const char* symbol, const char* unit, std::vector<double> values = {}) {
  return {symbol, unit, "", true, false, std::move(values)};
}

}  // namespace

TEST(FormulaAxes, TitlesFollowTheCheckedOrdinates) {
  const std::vector<FormulaAxis> axes = {{"t", "s", "tiempo", false, true, {}},
                                         Axis("Ec", "J"),
                                         Axis("Ep", "J"),
                                         Axis("p", "kg.m/s"),
                                         Axis("r", "")};
  struct Case {
    std::vector<int> ordinates;
    std::string y1, y2;
  };
  const Case cases[] = {
      {{1}, "Ec", "(J)"},
      {{4}, "r", "(ninguna unidad escrita)"},
      {{1, 2}, "Representación de varias curvas", "(J)"},
      {{1, 3}, "Representación de varias curvas", "(¡ Problema de unidad !)"},
      {{}, "", ""},
  };
  for (const Case& c : cases) {
    const FormulaTitles titles = FormulaPageTitles(axes, c.ordinates, 0);
    EXPECT_EQ(titles.x.first, "t");
    EXPECT_EQ(titles.x.second, "tiempo (s)");
    EXPECT_EQ(titles.y.first, c.y1);
    EXPECT_EQ(titles.y.second, c.y2);
  }
}

TEST(FormulaAxes, SeriesKeepsOnlyRowsWhereBothAreDefined) {
  const FormulaAxis x = Axis("x", "m", {0.0, 1.0, kUndefined, 3.0, 4.0});
  const FormulaAxis y = Axis("E", "J", {5.0, kUndefined, 7.0, 8.0});  // one row shorter
  const auto points = FormulaSeries(x, y, false);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].number, 1);
  EXPECT_EQ(points[1].a, 3.0);
  EXPECT_EQ(points[1].b, 8.0);
  EXPECT_EQ(points[1].number, 4);
  EXPECT_EQ(FormulaSeries(x, y, true)[1].number, 3);
}

TEST(FormulaAxes, SymbolsAreFoundExactlyFirstThenWithoutCase) {
  const std::vector<FormulaAxis> axes = {Axis("y", "m"), Axis("Y", "m"), Axis("Ec", "J")};
  EXPECT_EQ(FormulaAxisIndex(axes, "Y"), 1);
  EXPECT_EQ(FormulaAxisIndex(axes, "y"), 0);
  EXPECT_EQ(FormulaAxisIndex(axes, "EC"), 2);
  EXPECT_EQ(FormulaAxisIndex(axes, "E"), -1);
}

TEST(FormulaAxes, TimeStartsAtZeroAnotherAbscissaShowsZeroOnlyWhenAsked) {
  const PlotWindow bounds{2, 4, 1, 3};
  const auto frame = [&](bool time, bool zeroX, bool zeroY) {
    const auto [x, y] = FormulaFraming(time, zeroX, zeroY);
    return AutoWindow(bounds, x, y, 0.05);
  };
  EXPECT_EQ(frame(true, true, false).xMin, 0.0);
  EXPECT_GT(frame(false, false, false).xMin, 1.5);
  EXPECT_LE(frame(false, true, false).xMin, 0.0);
  EXPECT_LE(frame(false, false, true).yMin, 0.0);
  EXPECT_GT(frame(true, false, false).yMin, 0.5);
}

TEST(FormulaAxes, UserColumnsDifferByNameUnitOrValueNotByUndefinedRows) {
  const std::vector<UserColumn> a = {{"Ec", "J", "", {1.0, kUndefined}}};
  EXPECT_FALSE(UserColumnsDiffer(a, a));
  EXPECT_TRUE(UserColumnsDiffer(a, {{"Ec", "J", "", {1.0, 2.0}}}));
  EXPECT_TRUE(UserColumnsDiffer(a, {{"Ep", "J", "", {1.0, kUndefined}}}));
  EXPECT_TRUE(UserColumnsDiffer(a, {}));
}
