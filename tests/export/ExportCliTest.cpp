// kinovia-cli export on the Parabole sample clip pointed at the ball's true positions: each file
// holds the table the results command prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "logic/session/WorkFile.h"
#include "media/samples/SampleGenerator.h"
#include "resources/TxtExport.h"
#include "tests/export/LibreOfficeCsv.h"
#include "tests/support/CliRun.h"
#include "tests/support/PointedSample.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

class CliExport : public ::testing::Test {
 protected:
  void SetUp() override {
    // ctest runs the tests of this file side by side: each has a folder of its own.
    folder_ = fs::path(::testing::TempDir()) /
              ("cli_export_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    work_ = (folder_ / "parabole.knv").string();
    IniFile ini;
    WriteWorkFile(ini, PointedAtTheTruth(KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi",
                                         SampleTruth(SampleClip::Parabole)));
    ASSERT_TRUE(ini.Save(work_));
  }

  test::CliResult Run(const std::string& arguments) {
    return test::RunKinoviaCli(arguments, "LC_ALL=C TMP=" + folder_.string());
  }

  fs::path folder_;
  std::string work_;
};

TEST_F(CliExport, EveryFormatHoldsTheTableOfTheResultsCommand) {
  const auto printed = Run("results " + work_);
  ASSERT_EQ(printed.status, 0) << printed.err;
  const auto table = test::TabRows(printed.out);
  for (const char* format : {"txt", "csv", "xlsx", "ods"}) {
    const auto run = Run(std::string("export --format ") + format + " " + work_ + " " +
                         (folder_ / "tabla.").string() + format);
    ASSERT_EQ(run.status, 0) << format << ": " << run.err;
    EXPECT_EQ(run.out, "");
  }

  // The text file is the printed table; only the date line may differ by a second.
  auto text = test::TabRows(Contents(folder_ / "tabla.txt"));
  ASSERT_EQ(text.size(), table.size());
  text[1] = table[1];
  EXPECT_EQ(text, table);

  // The CSV: one header row of symbols with units, then the same values.
  std::istringstream csv(Contents(folder_ / "tabla.csv"));
  std::string header;
  std::getline(csv, header);
  EXPECT_EQ(header,
            "t (s),x (m),y (m),vx (m/s),vy (m/s),v (m/s),ax (m/s²),ay (m/s²),a (m/s²),"
            "O (rad),R (m),w (rad/s)");
  std::size_t row = 6;
  for (std::string line; std::getline(csv, line); ++row) {
    ASSERT_LT(row, table.size());
    const auto cells = test::ParseCsv(line + "\n").front();
    ASSERT_EQ(cells.size(), table[row].size());
    for (std::size_t c = 0; c < cells.size(); ++c)
      EXPECT_DOUBLE_EQ(test::NumberOf(cells[c].text), test::NumberOf(table[row][c]))
          << row << "," << c;
  }
  EXPECT_EQ(row, table.size());

  // The workbooks: numbers as numbers, at the precision the table shows.
  if (!test::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  const auto sheets = test::ConvertWithLibreOffice(
      {(folder_ / "tabla.xlsx").string(), (folder_ / "tabla.ods").string()}, folder_);
  for (const auto& sheet : sheets) {
    ASSERT_EQ(sheet.size(), table.size() - 2);  // no title nor date; a row-number column
    EXPECT_EQ(sheet[1][1].text, "t");
    EXPECT_EQ(sheet[3][2].text, "Abscisa bola");
    for (std::size_t r = 4; r < sheet.size(); ++r) {
      EXPECT_EQ(sheet[r][0].text, std::to_string(r - 3));
      for (std::size_t c = 1; c < sheet[r].size(); ++c) {
        const double expected = test::NumberOf(table[r + 2][c - 1]);
        ASSERT_FALSE(sheet[r][c].quoted) << r << "," << c;
        EXPECT_NEAR(test::NumberOf(sheet[r][c].text), expected, 5e-3 * std::abs(expected) + 1e-12)
            << r << "," << c;
      }
    }
  }
}

TEST_F(CliExport, FailuresAndBadCommandLines) {
  const auto unwritable =
      Run("export --format xlsx " + work_ + " " + (folder_ / "missing" / "t.xlsx").string());
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find(Txt(txt::ExportFileFailed)), std::string::npos);
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  for (const std::string& arguments :
       {"export --format pdf " + work_ + " out.pdf", "export " + work_ + " out.txt",
        "export --format txt " + work_})
    EXPECT_EQ(Run(arguments).status, 2) << arguments;
  EXPECT_EQ(Run("export --format txt /nonexistent/work.knv out.txt").status, 1);
}

}  // namespace
}  // namespace kinovia
