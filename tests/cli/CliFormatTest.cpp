// Runs the built kinovia-cli as scripts do: its output, its errors and its exit status.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/CliRun.h"

namespace {

using kinovia::test::RunKinoviaCli;

kinovia::test::CliResult RunCli(const std::string& arguments,
                                const std::string& environment = "LC_ALL=C") {
  return RunKinoviaCli(arguments, environment);
}

TEST(CliFormat, PrintsDisplayAndFullTexts) {
  const struct {
    const char* args;
    const char* out;
  } cases[] = {
      {"format 0 1234.56", "1235\n"},         {"format 2 12345", "1.2345E+004\n"},
      {"format 0 0,005", "5.00E-3\n"},        {"format 0 -0.0", "0\n"},
      {"format --full 0 1.5e-5", "1.5E-5\n"}, {"format 12 0.5", "0.50000000000\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunCli(c.args).out, c.out) << c.args;
  EXPECT_EQ(RunCli("format -1 1234.56").out, "1230\n");
  EXPECT_EQ(RunCli("format 9 0.005").out, RunCli("format 8 0.005").out);
  EXPECT_EQ(RunCli("format 0 NaN").out, "#Número!\n");
  EXPECT_EQ(RunCli("format --full 0 '#Número!'").out, "#Número!\n");
  EXPECT_EQ(RunCli("format 3 -INF").out, "-INF\n");
  EXPECT_EQ(RunCli("format 0 inf").out, "INF\n");
  EXPECT_EQ(RunCli("format 0 2.5", "LC_ALL=es_ES.UTF-8").out, "2,500\n");
}

TEST(CliFormat, ExitStatusTellsFailureFromMisuse) {
  EXPECT_EQ(RunCli("format 0 abc").status, 1);
  EXPECT_EQ(RunCli("format 0").status, 2);
  EXPECT_EQ(RunCli("nonsense").status, 2);
  EXPECT_EQ(RunCli("").status, 2);
  const auto version = RunCli("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("kinovia-cli ", 0), 0u);
}

}  // namespace
