// kinovia-cli lsq and derive as scripts call them: the built tool, its output and exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include "NistFixture.h"
#include "tests/support/CliRun.h"

namespace {

// Runs kinovia-cli with `input` as the points file, under the C locale unless told otherwise.
kinovia::test::CliResult RunTool(const std::string& arguments, const std::string& input,
                                 const std::string& locale = "C") {
  return kinovia::test::RunKinoviaCli(arguments, "LC_ALL=" + locale, input);
}

struct Case {
  const char* args;
  const char* input;
  const char* out;
  int exitStatus;
};

void ExpectRuns(std::span<const Case> cases) {
  for (const auto& c : cases) {
    const auto r = RunTool(c.args, c.input);
    EXPECT_EQ(r.out, c.out) << c.args << " / " << c.input;
    EXPECT_EQ(r.status, c.exitStatus) << c.args << " / " << c.input;
  }
}

TEST(NumericsCli, LsqPrintsCoefficientsAndQualityOrTheStatus) {
  const Case cases[] = {
      {"lsq 2", "0 1\n1 3\n# comment\n\n2 5\n", "status\t0\np0\t1\np1\t2\nquality\t1\n", 0},
      {"lsq 3 -", "1 2\n3 8\n", "status\t0\np0\t5\nquality\t0.735294117647059\n", 0},
      {"lsq 2", "1 1\n", "status\t2\n", 1},
      {"lsq 1", "2 1\n2 5\n", "status\t4\n", 1},
      {"lsq 2", "1\n2 3\n", "", 1},
      {"lsq two", "1 2\n2 3\n", "", 1},
      {"lsq", "", "", 2},
      {"lsq 2 a b", "", "", 2},
  };
  ExpectRuns(cases);
}

TEST(NumericsCli, LsqReadsAFileAndWritesTheRegionalSeparator) {
  const kinovia::test::NistSet norris = kinovia::test::LoadNistSet("Norris");
  std::string points;
  for (std::size_t i = 0; i < norris.x.size(); ++i)
    points += std::to_string(norris.x[i]) + '\t' + std::to_string(norris.y[i]) + '\n';
  const auto path = std::filesystem::temp_directory_path() / "knv_numerics_norris.txt";
  std::ofstream(path) << points;
  const auto r = RunTool("lsq 2 " + path.string(), "");
  std::filesystem::remove(path);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("p0\t-0.26232307377"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("p1\t1.00211681802"), std::string::npos) << r.out;
  EXPECT_EQ(RunTool("lsq 1", "0 0,5\n1 1,5\n", "es_ES.UTF-8").out,
            "status\t0\np0\t1\nquality\t0,8\n");
}

TEST(NumericsCli, DeriveWritesOneLinePerSample) {
  const std::string parabola = "0 0\n1 1\n2 4\n";
  const auto plain = RunTool("derive 0.5", parabola);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, "status\t0\n0\t0\t0\t8\n1\t1\t4\t8\n2\t4\t8\t8\n");
  const auto smooth = RunTool("derive --smooth 1", "0 0.25\n1 0.5\n2 0.75\n3 1\n");
  EXPECT_EQ(smooth.status, 0);
  EXPECT_EQ(smooth.out,
            "status\t0\n0\t0.25\t0.25\t0\n1\t0.5\t0.25\t0\n2\t0.75\t0.25\t0\n3\t1\t0.25\t0\n");
}

TEST(NumericsCli, DeriveRefusesWhatItCannotDivideBy) {
  const Case cases[] = {
      {"derive 1", "0 1\n1 2\n", "status\t2\n", 1},
      {"derive 0", "0 1\n1 2\n2 3\n", "", 1},
      {"derive -0.04", "0 1\n1 2\n2 3\n", "", 1},
      {"derive 1", "0 1\n1 2\n1 3\n", "", 1},
      {"derive 1", "0 1\n2 2\n1 3\n", "", 1},
      {"derive x", "0 1\n1 2\n2 3\n", "", 1},
      {"derive", "", "", 2},
      {"derive --smooth", "", "", 2},
  };
  ExpectRuns(cases);
}

TEST(NumericsCli, FitPrintsTheModelLinesThenItsParameters) {
  const Case cases[] = {
      {"fit affine", "1 2\n2 4\n3 6\n",
       "Modelo: y = r + b.x\nr = 0\nb = 2.000\nIncertidumbre de las ordenadas: \n"
       "- precisión relativa = 0%\n- desviación cuadrática media = 0\n"
       "- coeficiente de correlación = 1.00000\nparams\t0\t2\n",
       0},
      {"fit proportional --names theta,t", "1 1\n2 1\n3 4\n",
       "Modelo: (th..) = b.t\nb = 1.000\nIncertidumbre de las ordenadas: \n"
       "- precisión relativa = 33.3%\n- desviación cuadrática media = 0.816\n"
       "- coeficiente de correlación = 0.86603\nparams\t0\t1\n",
       0},
      {"fit parabola", "", "", 1},
      {"fit affine", "1 x\n", "", 1},
      {"fit", "", "", 2},
      {"fit cubic", "1 2\n", "", 2},
      {"fit affine --names y", "1 2\n", "", 2},
      {"fit affine --names ,x", "1 2\n", "", 2},
      {"fit affine - extra", "1 2\n", "", 2},
  };
  ExpectRuns(cases);
}

TEST(NumericsCli, FitFindsASinusoid) {
  std::string points;
  for (int i = 0; i <= 100; ++i) {
    const double t = 0.05 * i;
    points += std::to_string(t) + ' ' + std::to_string(0.2 + 0.1 * std::sin(3 * t + 1)) + '\n';
  }
  const auto r = RunTool("fit sinus --names x,t", points);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Modelo: x = r + b.sin(c.t + d)\nr = ", 0), 0u) << r.out;
  const auto params = r.out.find("params\t");
  ASSERT_NE(params, std::string::npos);
  std::istringstream values(r.out.substr(params + 7));
  double offset = 0, amplitude = 0, omega = 0;
  values >> offset >> amplitude >> omega;
  EXPECT_NEAR(offset, 0.2, 1e-3);
  EXPECT_NEAR(amplitude, 0.1, 1e-3);
  EXPECT_NEAR(omega, 3, 1e-3);
}

}  // namespace
