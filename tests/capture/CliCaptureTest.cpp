// kinovia-cli devices and capture, run as scripts run them, on the test pattern.
#include <gtest/gtest.h>

#include "tests/support/CliRun.h"
#include "tests/workshop/FfmpegProbe.h"

namespace kinovia {
namespace {

constexpr const char* kWithPattern = "LC_ALL=C KINOVIA_TEST_CAMERA=1";

TEST(CliCapture, ThePatternIsListedOnlyWhenAsked) {
  const auto listed = test::RunKinoviaCli("devices", kWithPattern);
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("V4L2\tMira de prueba\n"), std::string::npos);
  EXPECT_NE(listed.out.find("GStreamer\tMira de prueba\n"), std::string::npos);
  const auto plain = test::RunKinoviaCli("devices", "LC_ALL=C KINOVIA_TEST_CAMERA=");
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out.find("Mira de prueba"), std::string::npos);
}

TEST(CliCapture, DelayThenTwoSecondsAtTheAskedRate) {
  test::ScratchFolder folder("cli_capture");
  const auto out = folder.Path() / "pattern.avi";
  const auto run = test::RunKinoviaCli(
      "capture --device 'mira de prueba (v4l2)' --delay 1 --seconds 2 --rate 15 " + out.string(),
      kWithPattern);
  ASSERT_EQ(run.status, 0) << run.err;
  auto probe = test::ProbeClip(out);
  EXPECT_EQ(run.out, "captured\t" + probe["nb_read_frames"] + "\ndropped\t0\n");
  EXPECT_NEAR(std::stoi(probe["nb_read_frames"]), 30, 3);
  EXPECT_EQ(probe["r_frame_rate"], "15/1");
  EXPECT_EQ(probe["width"], "640");
}

TEST(CliCapture, RefusalsAndUsage) {
  struct Case {
    std::string args;
    std::string environment;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"capture --device nothing x.avi", kWithPattern, 1,
       "Dispositivo de captura desconocido : nothing\n"},
      {"capture --seconds 0 x.avi", kWithPattern, 2, ""},
      {"capture --delay 121 x.avi", kWithPattern, 2, ""},
      {"capture --rate abc x.avi", kWithPattern, 2, ""},
      {"capture", kWithPattern, 2, ""},
      {"devices extra", kWithPattern, 2, ""},
  };
  for (const auto& c : cases) {
    const auto run = test::RunKinoviaCli(c.args, c.environment);
    EXPECT_EQ(run.status, c.status) << c.args;
    if (!c.err.empty()) {
      EXPECT_EQ(run.err, c.err) << c.args;
    }
  }
}

}  // namespace
}  // namespace kinovia
