// The rules every export follows: which cells a spreadsheet gets as numbers, the CSV form, and
// what Regressi is given.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Numbers.h"
#include "logic/export/RegressiHandOver.h"
#include "logic/export/Spreadsheet.h"
#include "logic/export/TableText.h"

namespace kinovia {
namespace {

using Kind = SheetCell::Kind;

class SpanishSeparator : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(','); }
  void TearDown() override { SetDecimalSeparator('.'); }
};

TEST_F(SpanishSeparator, SpreadsheetCellsFollowTheirRow) {
  const std::vector<std::vector<std::string>> matrix = {{"Ángulo de rotación", "0,5"},
                                                        {"", "t"},
                                                        {"", "s"},
                                                        {"", "tiempo"},
                                                        {"1", "0,04"},
                                                        {"2", "#Número!"},
                                                        {"3", ""},
                                                        {"4", "-1,5E-3"},
                                                        {"5", "abc"},
                                                        {"6", "INF"},
                                                        {"7", "NaN"}};
  const Spreadsheet sheet = SpreadsheetOf(matrix);
  ASSERT_EQ(sheet.rows.size(), matrix.size());
  EXPECT_EQ(sheet.headerRows, 4);
  struct Case {
    std::size_t row, column;
    SheetCell expected;
  };
  const Case cases[] = {
      {0, 1, {Kind::Text, "0,5", 0}},  // header rows stay text, numbers included
      {1, 0, {}},
      {1, 1, {Kind::Text, "t", 0}},
      {4, 0, {Kind::Number, "", 1}},
      {4, 1, {Kind::Number, "", 0.04}},
      {5, 1, {Kind::Text, "#Número!", 0}},
      {6, 1, {}},
      {7, 1, {Kind::Number, "", -1.5e-3}},
      {8, 1, {Kind::Text, "abc", 0}},
      {9, 1, {Kind::Text, "INF", 0}},
      {10, 1, {Kind::Text, "NaN", 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(sheet.rows[c.row][c.column], c.expected) << c.row << "," << c.column;
  // "#Número!" and a margin set the second column's width; the angle sentence sets none.
  ASSERT_EQ(sheet.columnWidths.size(), 2u);
  EXPECT_EQ(sheet.columnWidths[1], 10);
  EXPECT_EQ(sheet.columnWidths[0], 8);
}

TEST_F(SpanishSeparator, CsvHasOneHeaderRowAndPointDecimals) {
  const std::vector<std::string> lines = {
      "clip.avi", "01/01/2026 10:00:00", "Ángulo",   "t\tx1\tnota, larga",
      "s\tm\t",   "tiempo\tAbscisa\t-",  "0\t0,5\t", "0,04\t\t1,25E-7"};
  EXPECT_EQ(CsvContents(lines),
            "t (s),x1 (m),\"nota, larga\"\n"
            "0,0.5,\n"
            "0.04,,1.25e-07\n");
}

TEST(RegressiRules, ProgramNamesAndCalls) {
  struct Case {
    const char* path;
    bool regressi;
    const char* program;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"/opt/Regressi/Regressi.exe", true, "wine", {"/opt/Regressi/Regressi.exe"}},
      {"/opt/Regressi/REGRESSI.EXE", true, "wine", {"/opt/Regressi/REGRESSI.EXE"}},
      {"/usr/bin/regressi", true, "/usr/bin/regressi", {}},
      {"/usr/bin/excel.exe", false, "wine", {"/usr/bin/excel.exe"}},
      {"/opt/Regressi", true, "/opt/Regressi", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRegressiProgram(c.path), c.regressi) << c.path;
    const ProgramCall call = RegressiCall(c.path);
    EXPECT_EQ(call.program, c.program) << c.path;
    EXPECT_EQ(call.arguments, c.arguments) << c.path;
  }
}

TEST(RegressiRules, OnlyAnExistingRegressiFileIsUsable) {
  const auto folder = std::filesystem::path(::testing::TempDir()) / "regressi_rules";
  std::filesystem::create_directories(folder / "Regressi.exe.d");
  std::ofstream(folder / "Regressi.exe") << "MZ";
  std::ofstream(folder / "Other.exe") << "MZ";
  EXPECT_EQ(UsableRegressiPath((folder / "Regressi.exe").string()),
            (folder / "Regressi.exe").string());
  EXPECT_FALSE(UsableRegressiPath((folder / "Other.exe").string()));
  EXPECT_FALSE(UsableRegressiPath((folder / "missing" / "Regressi.exe").string()));
  EXPECT_FALSE(UsableRegressiPath(""));
}

std::vector<std::string> TableWithGaps() {
  return {"title",   "date", "angle", "t\tx\ty", "s\tm\tm", "tiempo\tA\tO",
          "0\t1\t2",  // 6: complete
          "1\t\t2",   // 7: gap inside
          "2\t3\t4",  // 8: complete
          "3\t\t\t",  // 9: three empty cells side by side and at the end
          "4\t5\t"};  // 10: empty last cell
}

TEST(RegressiRules, ContinueAsksAtEveryLineWithAGap) {
  auto lines = TableWithGaps();
  const int asked = ResolveUndefinedValues(lines, [] { return UndefinedChoice::Continue; });
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(lines, TableWithGaps());
}

TEST(RegressiRules, ReplaceFillsEveryGapFromThatLineOn) {
  auto lines = TableWithGaps();
  int calls = 0;
  // "Continuar" at line 7, "Sustituir" at line 9: line 7 keeps its gap.
  ResolveUndefinedValues(
      lines, [&] { return ++calls == 1 ? UndefinedChoice::Continue : UndefinedChoice::Replace; });
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(lines[7], "1\t\t2");
  EXPECT_EQ(lines[9], "3\t0\t0\t0");
  EXPECT_EQ(lines[10], "4\t5\t0");
  EXPECT_EQ(lines[8], "2\t3\t4");
}

TEST(RegressiRules, AFullTableIsNotQuestioned) {
  std::vector<std::string> lines = {"a", "b", "c", "t", "s", "d", "0\t1", "1\t2"};
  EXPECT_EQ(ResolveUndefinedValues(lines, [] { return UndefinedChoice::Replace; }), 0);
}

}  // namespace
}  // namespace kinovia
