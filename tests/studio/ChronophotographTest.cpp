// The chronophotograph from kinovia-cli chrono on a clip whose every frame is a grey of its own,
// so every pixel tells which frame it came from; and the studio's contour list.
#include <gtest/gtest.h>

#include "logic/studio/StudioContours.h"
#include "tests/support/CliRun.h"
#include "tests/workshop/FfmpegProbe.h"

namespace kinovia {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

std::string Square(int frame, double from, double to) {
  const auto a = std::to_string(from), b = std::to_string(to);
  return "--contour '" + std::to_string(frame) + ":" + a + "," + a + ";" + b + "," + a + ";" + b +
         "," + b + ";" + a + "," + b + "'";
}

int GreyAt(const std::vector<std::uint8_t>& rgb, double u, double v) {
  const auto x = static_cast<std::size_t>(u * kWidth), y = static_cast<std::size_t>(v * kHeight);
  return rgb.at((y * kWidth + x) * 3);
}

class Chronophotograph : public ::testing::Test {
 protected:
  void SetUp() override {
    clip_ = folder_.Path() / "greys.avi";
    test::CommandOutput(
        "ffmpeg -v error -f lavfi -i 'color=c=black:s=64x48:r=25:d=0.8,"
        "geq=lum=N*10:cb=128:cr=128' -c:v rawvideo -pix_fmt bgr24 '" +
        clip_.string() + "'");
    ASSERT_TRUE(std::filesystem::exists(clip_));
  }
  std::vector<std::uint8_t> Chrono(const std::string& options) {
    const auto out = folder_.Path() / "chrono.bmp";
    const auto run = test::RunKinoviaCli("chrono " + clip_.string() + " " + Square(12, 0.1, 0.5) +
                                         " " + Square(4, 0.3, 0.7) + " " + Square(8, 0.6, 0.9) +
                                         " " + options + " " + out.string());
    EXPECT_EQ(run.status, 0) << run.err;
    return test::DecodeFrame(out, 0);
  }

  test::ScratchFolder folder_{"chrono"};
  std::filesystem::path clip_;
};

TEST_F(Chronophotograph, ContoursInCreationOrderOverTheFirstPositionsFrame) {
  const auto rgb = Chrono("--background");
  ASSERT_EQ(rgb.size(), std::size_t{kWidth * kHeight * 3});
  struct Probe {
    double u, v;
    int frame;
  };
  const Probe probes[] = {
      {0.2, 0.2, 12},   // frame 12's object alone
      {0.4, 0.4, 4},    // frame 4's object, drawn after 12's, covers it
      {0.65, 0.65, 8},  // frame 8's, drawn last, covers 4's
      {0.95, 0.05, 4},  // the background is frame 4, the smallest frame number
  };
  for (const auto& p : probes) {
    const int grey = GreyAt(test::DecodeFrame(clip_, p.frame), p.u, p.v);
    EXPECT_EQ(GreyAt(rgb, p.u, p.v), grey) << p.u;
  }
}

TEST_F(Chronophotograph, WithoutBackgroundTheObjectsLieOnABlankPage) {
  const auto rgb = Chrono("");
  EXPECT_EQ(GreyAt(rgb, 0.95, 0.05), 255);
  EXPECT_EQ(GreyAt(rgb, 0.2, 0.2), GreyAt(test::DecodeFrame(clip_, 12), 0.2, 0.2));
}

TEST_F(Chronophotograph, RefusedArguments) {
  const auto out = (folder_.Path() / "x.png").string();
  EXPECT_EQ(test::RunKinoviaCli("chrono " + clip_.string() + " " + out).status, 1);
  EXPECT_EQ(test::RunKinoviaCli("chrono " + clip_.string() + " " + Square(30, 0.1, 0.2) + " " + out)
                .status,
            1);
  EXPECT_EQ(test::RunKinoviaCli("chrono " + clip_.string() + " --contour 3:0.1 " + out).status, 2);
}

TEST(StudioContours, OnePerFrameInTheOrderDrawn) {
  StudioContours contours;
  contours.Set(12, {{0.1, 0.1}});
  contours.Set(4, {{0.5, 0.5}});
  contours.Set(12, {{0.8, 0.8}});  // a second contour on the same frame replaces the first
  ASSERT_EQ(contours.List().size(), 2u);
  EXPECT_EQ(contours.List()[0].frame, 4);
  EXPECT_EQ(contours.List()[1].outline[0].x, 0.8);
  EXPECT_EQ(contours.LastFrame(), 12);
  EXPECT_EQ(contours.SmallestFrame(), 4);
  EXPECT_EQ(contours.RemoveInside({0.7, 0.9}, {0.9, 0.7}), 1);
  EXPECT_EQ(contours.LastFrame(), 4);
}

// The tracked object's contour follows its track: one contour a tracked frame, on the source
// frame tracked there, shifted as the object moved; untracked montage frames give none.
TEST(StudioContours, AlongATrack) {
  TrackedObject object;
  object.contourValid = true;
  object.contour = {{0.1, 0.1}, {0.3, 0.1}, {0.2, 0.3}};
  object.contourCentre = {0.2, 0.2};
  object.frameTags = {7, Tracker::kNotTracked, 9};
  object.positions = {{0.2, 0.2}, {0, 0}, {0.5, 0.6}};
  const StudioContours contours = ContoursAlongTrack(object);
  ASSERT_EQ(contours.List().size(), 2u);
  EXPECT_EQ(contours.List()[0].frame, 7);
  EXPECT_EQ(contours.List()[0].outline, object.contour);
  EXPECT_EQ(contours.List()[1].frame, 9);
  EXPECT_NEAR(contours.List()[1].outline[2].x, 0.5, 1e-12);
  EXPECT_NEAR(contours.List()[1].outline[2].y, 0.7, 1e-12);
  object.contourValid = false;
  EXPECT_TRUE(ContoursAlongTrack(object).Empty());
}

}  // namespace
}  // namespace kinovia
