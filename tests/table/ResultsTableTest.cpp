#include "logic/results/ResultsTable.h"

#include <gtest/gtest.h>

#include "TableFixtures.h"
#include "core/Numbers.h"

namespace kinovia {
namespace {

using testing::MarksFrom;
using testing::Range;
constexpr double kT = 0.04;

std::vector<std::string> Symbols(int objects) {
  std::vector<std::string> symbols;
  for (int c = 0; c <= 11 * objects; ++c) symbols.push_back(ColumnInfoFor(c, objects, {}).symbol);
  return symbols;
}

TEST(ResultsTable, ColumnsFollowTheFamilyOrder) {
  EXPECT_EQ(Symbols(1), (std::vector<std::string>{"t", "x", "y", "vx", "vy", "v", "ax", "ay", "a",
                                                  "O", "R", "w"}));
  const auto two = Symbols(2);
  ASSERT_EQ(two.size(), 23u);
  EXPECT_EQ(
      std::vector<std::string>(two.begin() + 1, two.begin() + 11),
      (std::vector<std::string>{"x1", "y1", "x2", "y2", "vx1", "vy1", "v1", "vx2", "vy2", "v2"}));
  EXPECT_EQ(two[11], "ax1");
  EXPECT_EQ(two[17], "O1");
  EXPECT_EQ(two[22], "w2");
  const ColumnInfo info = ColumnInfoFor(4, 2, {"bola", "carro"});
  EXPECT_EQ(info.object, 1);
  EXPECT_EQ(info.unit, "m");
  EXPECT_EQ(info.description, "Ordenada carro");
  EXPECT_EQ(ColumnInfoFor(8, 1, {"bola"}).unit, "m/s²");
}

class ResultsTableOfTwoObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto first = [](int k) -> std::optional<std::pair<double, double>> {
      return std::pair{0.01 * k * k, 0.0};
    };
    const auto second = [](int k) -> std::optional<std::pair<double, double>> {
      if (k == 3) return std::nullopt;
      return std::pair{0.0, 0.02 * k};
    };
    frameResults.Rebuild(MarksFrom(Range(8), kT, {first, second}), {1, 1, 0, true, true, kT});
    frameResults.ComputeDerivatives({});
    grid.SizeColumns(2);
    grid.UpdateSize(frameResults.RowCount());
  }
  std::string Cell(int column, int row, bool formatted = true) const {
    return grid.CellText(frameResults, names, options, column, row, formatted);
  }

  FrameResults frameResults;
  TableLayout grid;
  TableOptions options;
  std::vector<std::string> names = {"bola", "carro"};
};

TEST_F(ResultsTableOfTwoObjects, CellsShowHeadersNumbersAndValues) {
  EXPECT_EQ(grid.ColumnCount(), 24);  // row numbers, then 23 data columns
  EXPECT_EQ(grid.RowCount(), 12);
  EXPECT_EQ(Cell(0, 3), "");
  EXPECT_EQ(Cell(0, 4), "1");
  options.numberFromZero = true;
  EXPECT_EQ(Cell(0, 4), "0");
  EXPECT_EQ(Cell(1, 0), "");
  EXPECT_EQ(Cell(1, 1), "t");
  EXPECT_EQ(Cell(2, 3), "Abscisa bola");
  EXPECT_EQ(Cell(1, 6), "0.080");  // time at row 2
  EXPECT_EQ(Cell(2, 6), "0.040");  // x1 at row 2
  EXPECT_EQ(Cell(3, 7), "0");      // y1 is exactly zero
  EXPECT_EQ(Cell(5, 7), "");       // y2 has no mark on time index 3
  EXPECT_EQ(Cell(2, 6, false), "0.04");
  EXPECT_EQ(Cell(30, 6), "");
  EXPECT_EQ(Cell(2, 12), "");
}

TEST_F(ResultsTableOfTwoObjects, EdgeHidingEmptiesSpeedsAndAccelerations) {
  options.hideEdgeSpeeds = true;
  options.hideEdgeAccelerations = true;
  const int vx1 = 6, ax1 = 12;  // grid columns: row numbers and time come first
  for (int row : {4, 11}) EXPECT_EQ(Cell(vx1, row), "") << row;
  EXPECT_NE(Cell(vx1, 5), "");
  for (int row : {4, 5, 10, 11}) EXPECT_EQ(Cell(ax1, row), "") << row;
  EXPECT_NE(Cell(ax1, 6), "");
}

TEST_F(ResultsTableOfTwoObjects, PrecisionStaysBetweenZeroAndEight) {
  for (int i = 0; i < 10; ++i) grid.IncreasePrecision(2);
  EXPECT_EQ(grid.Precision(2), 8);
  for (int i = 0; i < 10; ++i) grid.DecreasePrecision(2);
  EXPECT_EQ(grid.Precision(2), 0);
  grid.IncreasePrecision(2);
  EXPECT_EQ(Cell(2, 6), "0.0400");
  grid.SizeColumns(2);  // a rebuild keeps the column settings
  EXPECT_EQ(grid.Precision(2), 1);
  grid.ResetPrecisions();
  EXPECT_EQ(grid.Precision(2), 0);
}

TEST_F(ResultsTableOfTwoObjects, HiddenFamiliesLeaveTheirColumnsOut) {
  grid.SetFamilyVisible(false, kFamilySpeeds | kFamilyAccelerations | kFamilyPolar, 2);
  grid.UpdateSize(frameResults.RowCount());
  EXPECT_EQ(grid.ColumnCount(), 6);
  EXPECT_EQ(Cell(5, 1), "y2");
  EXPECT_EQ(grid.ColumnColour(5, 2), 0xF8F8FFu);
  grid.SetColumnVisible(false, 0);  // time always stays
  grid.UpdateSize(frameResults.RowCount());
  EXPECT_EQ(Cell(1, 1), "t");
}

TEST_F(ResultsTableOfTwoObjects, TextExportHasTheHeaderLinesAndFullPrecisionRows) {
  grid.SetFamilyVisible(false, kFamilySpeeds | kFamilyAccelerations | kFamilyPolar, 2);
  grid.UpdateSize(frameResults.RowCount());
  const auto lines =
      ExportTextLines(grid, frameResults, names, options, "Tabla", "10/12/2026", 0.5);
  ASSERT_EQ(lines.size(), 6u + 8u);
  EXPECT_EQ(lines[0], "Tabla");
  EXPECT_EQ(lines[2], "Ángulo de rotación de los ejes en el sentido trigonométrico : 0.5 rad");
  EXPECT_EQ(lines[3], "t\tx1\ty1\tx2\ty2");
  EXPECT_EQ(lines[4], "s\tm\tm\tm\tm");
  EXPECT_EQ(lines[6 + 3], "0.12\t0.09\t0\t\t");
  const auto matrix = ExportMatrixCells(grid, frameResults, names, options, 0.5);
  ASSERT_EQ(matrix.size(), 12u);
  EXPECT_EQ(matrix[0][0], "Ángulo de rotación de los ejes en el sentido trigonométrico (rad) : ");
  EXPECT_EQ(matrix[0][1], "0.5");
  EXPECT_EQ(matrix[7][2], "0.090");
}

}  // namespace
}  // namespace kinovia
