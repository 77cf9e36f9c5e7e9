// A work file pointed at the true positions of the Parabole sample clip, read back through
// kinovia-cli results: the table must give the generator's own motion.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <numbers>
#include <sstream>

#include "logic/session/WorkFile.h"
#include "media/samples/SampleGenerator.h"
#include "tests/support/CliRun.h"

namespace kinovia {
namespace {

struct Ruler {
  PointD first, second;
  double length = 0;
};

Ruler RulerOf(SampleClip clip) {
  Ruler ruler;
  std::istringstream csv(SampleTruthCsv(clip));
  std::string line;
  while (std::getline(csv, line)) {
    if (line.rfind("# ruler_ends,", 0) == 0)
      std::sscanf(line.c_str(), "# ruler_ends,%lf,%lf,%lf,%lf", &ruler.first.x, &ruler.first.y,
                  &ruler.second.x, &ruler.second.y);
    if (line.rfind("# ruler_length_m,", 0) == 0)
      std::sscanf(line.c_str(), "# ruler_length_m,%lf", &ruler.length);
  }
  return ruler;
}

// The session a careful pupil would save: the ruler as scale, the origin on its first end, one
// mark a frame on the ball's true centre.
WorkFileContent PointedAtTheTruth(const std::string& clip,
                                  const std::vector<SampleTruthRow>& truth) {
  const Ruler ruler = RulerOf(SampleClip::Parabole);
  WorkFileContent work;
  work.videoFileName = clip;
  work.duration = 0.04;
  work.colours = {0x0000FF};
  work.visibilities = {true};
  work.fixedAxes.origin = ruler.first;
  work.originPointsNumber = 1;
  work.yAxisAngle = std::numbers::pi / 2;
  work.scale[0] = {2, ruler.first, ruler.second, ruler.length};
  work.fixedStore.names = {"bola"};
  for (const auto& row : truth) {
    work.fixedStore.containers.push_back(
        {row.frame, static_cast<int>(work.fixedStore.containers.size()), {{0, {row.u, row.v}}}});
  }
  return work;
}

std::vector<std::vector<std::string>> RunResults(const std::string& workFile, int& status) {
  const auto run =
      test::RunKinoviaCli("results --smooth-speed 0 --smooth-acceleration 0 " + workFile,
                          "LC_ALL=C TMP=" + ::testing::TempDir());
  status = run.status;
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

TEST(ResultsEndToEnd, ParaboleAtItsTruePositionsGivesTheGeneratorsMotion) {
  const std::string clip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";
  ASSERT_TRUE(std::filesystem::exists(clip));
  const auto truth = SampleTruth(SampleClip::Parabole);
  const std::string workFile = ::testing::TempDir() + "parabole.knv";
  std::filesystem::remove(workFile);
  IniFile ini;
  WriteWorkFile(ini, PointedAtTheTruth(clip, truth));
  ASSERT_TRUE(ini.Save(workFile));

  int status = -1;
  const auto rows = RunResults(workFile, status);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(rows.size(), 6 + truth.size());
  EXPECT_EQ(rows[0][0], "Parabole.avi");
  const std::vector<std::string> symbols = {"t",  "x",  "y", "vx", "vy", "v",
                                            "ax", "ay", "a", "O",  "R",  "w"};
  EXPECT_EQ(rows[3], symbols);
  for (std::size_t i = 0; i < truth.size(); ++i) {
    const auto& row = rows[6 + i];
    ASSERT_EQ(row.size(), symbols.size()) << i;
    EXPECT_NEAR(std::stod(row[0]), truth[i].t, 1e-12);
    EXPECT_NEAR(std::stod(row[1]), truth[i].x, 1e-3) << i;
    EXPECT_NEAR(std::stod(row[2]), truth[i].y, 1e-3) << i;
    if (i > 0 && i + 1 < truth.size()) {
      EXPECT_NEAR(std::stod(row[7]), -9.81, 0.0981) << i;
    }
  }
}

TEST(ResultsEndToEnd, MissingClipOrBrokenFileFailsWithAMessage) {
  const std::string workFile = ::testing::TempDir() + "missing_clip.knv";
  std::filesystem::remove(workFile);
  IniFile ini;
  WriteWorkFile(ini, PointedAtTheTruth("/nonexistent/NoSuchClip.avi", {}));
  ASSERT_TRUE(ini.Save(workFile));
  int status = -1;
  EXPECT_TRUE(RunResults(workFile, status).empty());
  EXPECT_EQ(status, 1);
  RunResults("/nonexistent/work.knv", status);
  EXPECT_EQ(status, 1);
  RunResults("", status);
  EXPECT_EQ(status, 2);
}

// Without a scale nothing can be measured: the message that asks for one, and no table.
TEST(ResultsEndToEnd, MissingScaleFailsWithTheMessageThatAsksForIt) {
  const std::string clip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";
  WorkFileContent work = PointedAtTheTruth(clip, SampleTruth(SampleClip::Parabole));
  work.scale[0] = {};
  const std::string workFile = ::testing::TempDir() + "no_scale.knv";
  std::filesystem::remove(workFile);
  IniFile ini;
  WriteWorkFile(ini, work);
  ASSERT_TRUE(ini.Save(workFile));
  const auto run =
      test::RunKinoviaCli("results " + workFile, "LC_ALL=C TMP=" + ::testing::TempDir());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Definir, previamente, la escala con la ayuda de una longitud conocida.\n");
}

}  // namespace
}  // namespace kinovia
