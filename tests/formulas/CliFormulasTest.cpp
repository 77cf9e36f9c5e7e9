// kinovia-cli formulas and results on the Parabole clip pointed at the truth, with an energy study
// a pupil would write: the listing of every line, and the variables as further columns.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/support/CliRun.h"
#include "tests/support/PointedSample.h"

namespace kinovia {
namespace {

class CliFormulas : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string clip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";
    // One work file a test: ctest runs the tests of this file as processes side by side.
    work_ = ::testing::TempDir() + "formulas_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".knv";
    WorkFileContent work = PointedAtTheTruth(clip, SampleTruth(SampleClip::Parabole));
    work.formulas.formulas = {{"Em", "Ec+Ep", "energía mecánica", "J"},
                              {"Ec", "0,5*m*v^2", "energía cinética", "J"},
                              {"Ep", "m*g*y", "energía potencial", "J"},
                              {"Q", "zz*2", "", ""}};
    work.formulas.constants = {{"m", "", "0,058", "kg"}, {"g", "", "=2*4,905", "m/s²"}};
    IniFile ini;
    WriteWorkFile(ini, work);
    ASSERT_TRUE(ini.Save(work_));
  }

  test::CliResult Run(const std::string& command) {
    return test::RunKinoviaCli(command + " " + work_, "LC_ALL=C TMP=" + ::testing::TempDir());
  }

  std::string work_;
};

TEST_F(CliFormulas, ListsEachVariableWithItsStatusAndEachConstantWithItsValue) {
  const auto run = Run("formulas");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "variable\tEm\tJ\tok\n"
            "variable\tEc\tJ\tok\n"
            "variable\tEp\tJ\tok\n"
            "variable\tQ\t\terror 20: La fórmula contiene una variable o una constante "
            "desconocida: zz\n"
            "constant\tm\tkg\t0.058\n"
            "constant\tg\tm/s²\t9.81\n");
  EXPECT_EQ(test::RunKinoviaCli("formulas").status, 2);
}

TEST_F(CliFormulas, ResultsPrintTheVariablesAfterTheComputedColumns) {
  const auto run = Run("results");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream cellStream(line);
    for (std::string cell; std::getline(cellStream, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  ASSERT_GT(rows.size(), 20u);
  const std::vector<std::string>& symbols = rows[3];
  ASSERT_GE(symbols.size(), 4u);
  const std::size_t em = symbols.size() - 4;
  EXPECT_EQ(std::vector<std::string>(symbols.begin() + em, symbols.end()),
            (std::vector<std::string>{"Em", "Ec", "Ep", "Q"}));
  EXPECT_EQ(rows[4][em], "J");
  EXPECT_EQ(rows[5][em], "energía mecánica");
  // A free fall keeps its mechanical energy: every row where the speed is known gives the same.
  std::vector<double> energies;
  for (std::size_t r = 6; r < rows.size(); ++r)
    if (rows[r].size() > em && !rows[r][em].empty()) energies.push_back(std::stod(rows[r][em]));
  ASSERT_GT(energies.size(), 10u);
  for (const double e : energies) EXPECT_NEAR(e, energies.front(), 0.02 * 0.058 * 9.81);
}

}  // namespace
}  // namespace kinovia
