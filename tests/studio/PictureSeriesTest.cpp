// Clip to pictures and pictures to clip: the suffixes, the names that need stand-ins, and
// kinovia-cli split then join giving back the very frames, read by the real ffmpeg.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "logic/montage/Montage.h"
#include "logic/studio/PictureSeries.h"
#include "media/studio/PictureSeries.h"
#include "media/video/VideoControl.h"
#include "tests/support/CliRun.h"
#include "tests/workshop/FfmpegProbe.h"

namespace kinovia {
namespace {

TEST(PictureSeries, SuffixesArePaddedToTheDigitsOfTheCount) {
  const struct {
    std::int64_t index, count;
    const char* suffix;
  } cases[] = {{0, 1, "0"},   {8, 9, "8"},     {0, 10, "00"},
               {9, 10, "09"}, {5, 150, "005"}, {149, 150, "149"}};
  for (const auto& c : cases) EXPECT_EQ(PictureSuffix(c.index, c.count), c.suffix) << c.count;
  EXPECT_EQ(SeriesPictureName("/d/Film", 3, 12), "/d/Film_03.bmp");
  EXPECT_EQ(WithoutExtension("/d/Film.bmp"), "/d/Film");
}

TEST(PictureSeries, OnlyOneNumberingOfEqualWidthStepByOneKeepsItsNames) {
  const struct {
    std::vector<std::string> names;
    bool kept;
  } cases[] = {
      {{"/d/img7.bmp", "/d/img8.bmp", "/d/img9.bmp"}, true},
      {{"/d/img7.bmp", "/d/img9.bmp"}, false},                   // a gap
      {{"/d/img10.bmp", "/d/img9.bmp"}, false},                  // widths differ
      {{"/d/img08.bmp", "/d/img09.bmp", "/d/img10.bmp"}, true},  // one width across the tens
      {{"/d/a1.bmp", "/d/b2.bmp"}, false},                       // two names
      {{"/d/a1.bmp", "/d/a2.png"}, false},
      {{"/d/img.bmp"}, false},  // no number at all
      {{"/d/shot3.bmp"}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(FormsOneNumbering(c.names), c.kept) << c.names[0];
  EXPECT_EQ(StandInNames({"/d/img7.bmp", "/d/img9.BMP"}),
            (std::vector<std::string>{"/d/~0.bmp", "/d/~1.BMP"}));
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class SplitAndJoin : public ::testing::Test {
 protected:
  void SetUp() override {
    clip_ = folder_.Path() / "clip.avi";
    // Eleven frames, each a picture of its own: two-digit suffixes.
    test::CommandOutput(
        "ffmpeg -v error -f lavfi -i 'testsrc=s=64x48:r=25:d=0.44' -c:v rawvideo "
        "-pix_fmt bgr24 '" +
        clip_.string() + "'");
    ASSERT_TRUE(std::filesystem::exists(clip_));
  }
  std::string Picture(int n) const {
    return (folder_.Path() / ("p_" + PictureSuffix(n, 11) + ".bmp")).string();
  }

  test::ScratchFolder folder_{"pictures"};
  std::filesystem::path clip_;
};

TEST_F(SplitAndJoin, JoiningTheSplitPicturesGivesBackTheFrames) {
  const auto split =
      test::RunKinoviaCli("split " + clip_.string() + " " + (folder_.Path() / "p").string());
  ASSERT_EQ(split.status, 0) << split.err;
  EXPECT_EQ(split.out, "pictures\t11\n");
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "p_0.bmp"));
  // Given out of order: the clip follows the names.
  std::string pictures;
  for (int n = 10; n >= 0; --n) pictures += " " + Picture(n);
  const auto back = folder_.Path() / "back.avi";
  const auto join = test::RunKinoviaCli("join --rate 10 " + back.string() + pictures);
  ASSERT_EQ(join.status, 0) << join.err;
  EXPECT_EQ(join.out, "frames\t11\n");
  EXPECT_EQ(test::ProbeClip(back)["r_frame_rate"], "10/1");
  for (int n = 0; n < 11; ++n) {
    const auto original = test::DecodeFrame(clip_, n);
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(test::DecodeFrame(Picture(n), 0), original) << n;
    EXPECT_EQ(test::DecodeFrame(back, n), original) << n;
  }
}

// Pictures with a gap take stand-in names for the build: a picture of the user's already bearing
// one must stop it, not be replaced; pictures needing none are joined beside it.
TEST_F(SplitAndJoin, StandInNamesNeverReplaceAUsersFileAndAreGivenBack) {
  ASSERT_EQ(
      test::RunKinoviaCli("split " + clip_.string() + " " + (folder_.Path() / "p").string()).status,
      0);
  const auto standIn = folder_.Path() / "~0.bmp";
  std::ofstream(standIn) << "the user's own";
  const struct {
    std::vector<int> pictures;
    int status;
  } cases[] = {{{3, 4, 5}, 0}, {{3, 5}, 1}};
  for (const auto& c : cases) {
    std::string names;
    std::vector<std::string> before;
    for (int n : c.pictures) names += " " + Picture(n), before.push_back(Bytes(Picture(n)));
    const auto out = folder_.Path() / "joined.avi";
    std::filesystem::remove(out);
    const auto run = test::RunKinoviaCli("join " + out.string() + names);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(std::filesystem::exists(out), c.status == 0);
    EXPECT_EQ(Bytes(standIn), "the user's own");
    for (std::size_t i = 0; i < c.pictures.size(); ++i)
      EXPECT_EQ(Bytes(Picture(c.pictures[i])), before[i]);
  }
  std::filesystem::remove(standIn);
  const auto out = folder_.Path() / "gap.avi";
  const auto run =
      test::RunKinoviaCli("join " + out.string() + " " + Picture(3) + " " + Picture(5));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::DecodeFrame(out, 1), test::DecodeFrame(clip_, 5));
  EXPECT_FALSE(std::filesystem::exists(standIn));
  EXPECT_TRUE(std::filesystem::exists(Picture(5)));
}

TEST_F(SplitAndJoin, RefusedInput) {
  const auto out = (folder_.Path() / "x.avi").string();
  const auto missing = test::RunKinoviaCli("join " + out + " " + Picture(0));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find(Picture(0)), std::string::npos);
  std::ofstream(Picture(1)) << "not a picture";
  EXPECT_EQ(test::RunKinoviaCli("join " + out + " " + Picture(1)).status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(test::RunKinoviaCli("join " + out).status, 2);
  EXPECT_EQ(test::RunKinoviaCli("join --rate x " + out + " " + Picture(1)).status, 2);
  EXPECT_EQ(test::RunKinoviaCli("split " + clip_.string()).status, 2);
}

// Hidden frames are not pictures: 9 visible frames of 11 give one-digit suffixes, cropped.
TEST_F(SplitAndJoin, OnlyVisibleFramesCroppedAsAsked) {
  Montage montage;
  VideoControl video(montage);
  ASSERT_TRUE(video.Open(clip_.string()));
  montage.SetFrameVisible(0, false);
  montage.SetFrameVisible(5, false);
  RecordSettings settings;
  settings.change = PictureChange::Crop;
  settings.crop = {8, 0, 0, 16};
  int last = 0;
  const auto written = SplitClip(*video.Source(), montage, settings,
                                 (folder_.Path() / "v").string(), [&](int percent) {
                                   last = percent;
                                   return true;
                                 });
  ASSERT_TRUE(written.Ok());
  EXPECT_EQ(written.Value(), 9);
  EXPECT_EQ(last, 100);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "v_9.bmp"));
  auto info = test::ProbeClip(folder_.Path() / "v_4.bmp");
  EXPECT_EQ(info["width"], "48");
  EXPECT_EQ(info["height"], "40");
  // v_4 is source frame 6; its top-left pixel lies at (0, 8) of the frame.
  const auto frame = test::DecodeFrame(clip_, 6);
  const auto picture = test::DecodeFrame(folder_.Path() / "v_4.bmp", 0);
  ASSERT_FALSE(picture.empty());
  EXPECT_TRUE(std::equal(picture.begin(), picture.begin() + 3 * 48, frame.begin() + 8 * 3 * 64));
}

}  // namespace
}  // namespace kinovia
