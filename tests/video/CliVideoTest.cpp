// kinovia-cli probe and frame, run as scripts run them.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/CliRun.h"
#include "tests/video/ClipFixture.h"

namespace kinovia {
namespace {

using test::ClipPath;

test::CliResult RunCli(const std::string& arguments) { return test::RunKinoviaCli(arguments); }

TEST(CliProbe, PrintsTheFactsOfTheFrameworkThatOpenedTheClip) {
  const struct {
    std::string args;
    std::string out;
    int status;
  } cases[] = {
      {"probe " + ClipPath("rgb24.avi"),
       "framework\tavi\nframes\t12\nwidth\t95\nheight\t63\nfps\t25\ninterval\t0.04\nrotation\t0\n",
       0},
      {"probe " + ClipPath("mpeg4.avi"),
       "framework\tffmpeg\nframes\t12\nwidth\t96\nheight\t64\nfps\t25\ninterval\t0."
       "04\nrotation\t0\n",
       0},
      {"probe --framework gstreamer " + ClipPath("h264.mov"),
       "framework\tgstreamer\nframes\t12\nwidth\t98\nheight\t66\nfps\t25\ninterval\t0."
       "04\nrotation\t0\n",
       0},
      {"probe --framework ffmpeg " + ClipPath("rotate90.mp4"),
       "framework\tffmpeg\nframes\t12\nwidth\t76\nheight\t134\nfps\t25\ninterval\t0."
       "04\nrotation\t270\n",
       0},
      {"probe --framework avi " + ClipPath("h264.mp4"), "", 1},
      {"probe " + ClipPath("garbage.avi"), "", 1},
      {"probe --framework vlc " + ClipPath("h264.mp4"), "", 2},
      {"probe", "", 2},
  };
  for (const auto& c : cases) {
    const auto run = RunCli(c.args);
    EXPECT_EQ(run.out, c.out) << c.args;
    EXPECT_EQ(run.status, c.status) << c.args;
  }
}

TEST(CliFrame, WritesTheRequestedFrameAsBmpOrPng) {
  const std::string bmp = std::string(KINOVIA_CLIPS_DIR) + "/frame5.bmp";
  ASSERT_EQ(RunCli("frame " + ClipPath("rgb24.avi") + " 5 " + bmp).status, 0);
  std::ifstream in(bmp, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::size_t stride = (95 * 3 + 3) & ~std::size_t{3};
  ASSERT_EQ(bytes.size(), 54 + stride * 63);
  // The top-left pixel of frame 5 is the first pixel of the last stored row, in B, G, R order.
  const auto reference = test::LoadReference("rgb24.avi", 95, 63);
  const std::size_t frame5 = std::size_t{95} * 63 * 3 * 5;
  const std::size_t topRow = 54 + stride * 62;
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[topRow]), reference.bytes[frame5 + 2]);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[topRow + 2]), reference.bytes[frame5]);

  const std::string png = std::string(KINOVIA_CLIPS_DIR) + "/frame3.png";
  ASSERT_EQ(RunCli("frame " + ClipPath("h264.mp4") + " 3 " + png).status, 0);
  std::ifstream pngIn(png, std::ios::binary);
  std::array<char, 8> signature{};
  pngIn.read(signature.data(), 8);
  EXPECT_EQ(std::string(signature.data() + 1, 3), "PNG");
}

TEST(CliFrame, RefusesFramesOutsideTheClipAndUnknownPictureTypes) {
  const std::string out = std::string(KINOVIA_CLIPS_DIR) + "/refused.bmp";
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"frame " + ClipPath("rgb24.avi") + " 12 " + out, 1},
      {"frame " + ClipPath("rgb24.avi") + " -1 " + out, 1},
      {"frame " + ClipPath("rgb24.avi") + " 2 " + std::string(KINOVIA_CLIPS_DIR) + "/x.gif", 2},
      {"frame " + ClipPath("rgb24.avi") + " two " + out, 2},
      {"frame " + ClipPath("garbage.avi") + " 0 " + out, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(RunCli(c.args).status, c.status) << c.args;
  EXPECT_FALSE(std::ifstream(out).good());
}

}  // namespace
}  // namespace kinovia
