// A work file pointed at the true positions of the Parabole sample clip, read back through
// kinovia-cli results: the table must give the generator's own motion.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "logic/session/WorkFile.h"
#include "media/samples/SampleGenerator.h"
#include "tests/support/CliRun.h"
#include "tests/support/PointedSample.h"

namespace kinovia {
namespace {

std::vector<std::vector<std::string>> RunResults(const std::string& workFile, int& status) {
  const auto run =
      test::RunKinoviaCli("results --smooth-speed 0 --smooth-acceleration 0 " + workFile,
                          "LC_ALL=C TMP=" + ::testing::TempDir());
  status = run.status;
  return test::TabRows(run.out);
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

// A damaged work file still gives its table: a mark past the clip's end and an interval of zero
// are repaired, said on standard error, and the rest of the work is measured as saved.
TEST(ResultsEndToEnd, ARepairedWorkFileSaysWhatWasLeftOutAndGivesTheRest) {
  const std::string clip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";
  const auto truth = SampleTruth(SampleClip::Parabole);
  WorkFileContent work = PointedAtTheTruth(clip, truth);
  work.duration = 0;
  work.fixedStore.containers.push_back({100000, 0, {{0, {0.5, 0.5}}}});
  const std::string workFile = ::testing::TempDir() + "repaired.knv";
  std::filesystem::remove(workFile);
  IniFile ini;
  WriteWorkFile(ini, work);
  ASSERT_TRUE(ini.Save(workFile));

  const auto run =
      test::RunKinoviaCli("results --smooth-speed 0 --smooth-acceleration 0 " + workFile,
                          "LC_ALL=C TMP=" + ::testing::TempDir());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.rfind("Se ha abierto el trabajo, pero una parte del archivo no se ha podido "
                          "conservar :\n" +
                              workFile +
                              "\n\nMarcas descartadas por estar después de la última "
                              "imagen del vídeo (",
                          0),
            0u)
      << run.err;
  EXPECT_NE(run.err.find("): 1.\nEl intervalo entre dos imágenes del archivo (0 s) no es válido: "
                         "se usa el del vídeo (0.04 s).\n"),
            std::string::npos)
      << run.err;
  int status = -1;
  const auto rows = RunResults(workFile, status);
  ASSERT_EQ(rows.size(), 6 + truth.size());
  EXPECT_NEAR(std::stod(rows.back()[0]), truth.back().t, 1e-12);
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
