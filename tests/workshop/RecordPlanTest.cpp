// What a recording of the montage will write: its slots, its picture size, the dialog's rules.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "logic/montage/RecordPlan.h"
#include "logic/montage/TimestampHoles.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

// Five frames whose time indices are 0, 1, 3, 4 and 7.
Montage MontageWithHoles() {
  Montage montage;
  montage.ResetMontage(5);
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(2, +1));
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(4, +2));
  return montage;
}

TEST(RecordSlots, BlanksFillTheEmptyTimeSlotsOnlyWhenAsked) {
  const Montage montage = MontageWithHoles();
  const std::int32_t B = kBlankSlot;
  EXPECT_EQ(RecordSlots(montage, true), (std::vector<std::int32_t>{0, 1, B, 2, 3, B, B, 4}));
  EXPECT_EQ(RecordSlots(montage, false), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(std::int64_t(RecordSlots(montage, true).size()),
            montage.VisibleCount() + montage.MissingFrameCount());
}

TEST(RecordSlots, HiddenFramesAreLeftOutAndLeaveNoHole) {
  Montage montage;
  montage.ResetMontage(6);
  ASSERT_TRUE(montage.SetFrameVisible(0, false));
  ASSERT_TRUE(montage.SetFrameVisible(3, false));
  EXPECT_EQ(RecordSlots(montage, true), (std::vector<std::int32_t>{1, 2, 4, 5}));
}

TEST(WithAviExtension, AppendsOnlyWhenTheNameLacksIt) {
  const struct {
    const char* chosen;
    const char* kept;
  } cases[] = {{"Montaje", "Montaje.avi"},
               {"/tmp/clip.AVI", "/tmp/clip.AVI"},
               {"clip.avi", "clip.avi"},
               {"clip.av", "clip.av.avi"},
               {"avi", "avi.avi"}};
  for (const auto& c : cases) EXPECT_EQ(WithAviExtension(c.chosen), c.kept) << c.chosen;
}

TEST(CropLimits, LeaveAtLeastSixteenPixelsOrAnEighthOfTheSide) {
  const struct {
    int size, keeps, marginMax;
  } cases[] = {{480, 60, 420}, {100, 16, 84}, {16, 16, 0}, {10, 16, 0}, {1080, 135, 945}};
  for (const auto& c : cases) {
    EXPECT_EQ(CropKeeps(c.size), c.keeps) << c.size;
    EXPECT_EQ(CropMarginMax(c.size), c.marginMax) << c.size;
  }
  EXPECT_TRUE(CropFits({200, 220, 0, 0}, 640, 480));
  EXPECT_FALSE(CropFits({200, 221, 0, 0}, 640, 480));
  EXPECT_TRUE(CropFits({0, 0, 500, 60}, 640, 480));
  EXPECT_FALSE(CropFits({0, 0, 500, 61}, 640, 480));
  EXPECT_FALSE(CropFits({-1, 0, 0, 0}, 640, 480));
  EXPECT_FALSE(CropFits({0x7fffffff, 0x7fffffff, 0, 0}, 640, 480));
}

TEST(CheckSettings, RefusesWhatNoRecorderShouldReceive) {
  const auto with = [](auto change) {
    RecordSettings s;
    change(s);
    return CheckSettings(s, 640, 480);
  };
  EXPECT_FALSE(with([](RecordSettings&) {}));
  EXPECT_FALSE(with([](RecordSettings& s) {
    s.change = PictureChange::Crop;
    s.crop = {10, 10, 20, 20};
  }));
  RecordSettings cropped;
  cropped.change = PictureChange::Crop;
  cropped.crop = {10, 10, 20, 20};
  EXPECT_EQ(OutputSize(cropped, 640, 480), (PictureSize{600, 460}));
  const struct {
    const char* name;
    std::function<void(RecordSettings&)> change;
    TxtId refusal;
  } bad[] = {
      {"crop",
       [](RecordSettings& s) {
         s.change = PictureChange::Crop, s.crop = {0, 0, 600, 0};
       },
       txt::RecordBadCrop},
      {"wide",
       [](RecordSettings& s) { s.change = PictureChange::Resize, s.width = 2561, s.height = 10; },
       txt::RecordBadSize},
      {"empty",
       [](RecordSettings& s) { s.change = PictureChange::Resize, s.width = 0, s.height = 10; },
       txt::RecordBadSize},
      {"rate", [](RecordSettings& s) { s.framesPerSecond = 0; }, txt::RecordBadRate},
      {"quality", [](RecordSettings& s) { s.quality = 9; }, txt::RecordBadCompression},
      {"keys", [](RecordSettings& s) { s.keyFrames = 251; }, txt::RecordBadCompression},
  };
  for (const auto& c : bad) {
    const auto refusal = with(c.change);
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(refusal->lines.at(0).text, Txt(c.refusal)) << c.name;
  }
}

TEST(FrameworkOptionName, ReadsBackWhatItWrites) {
  for (auto f : {RecordFramework::Avi, RecordFramework::GStreamer, RecordFramework::FFmpeg})
    EXPECT_EQ(FrameworkFromOptionName(FrameworkOptionName(f)), f);
  EXPECT_EQ(FrameworkFromOptionName("vfw"), std::nullopt);
}

TEST(TimestampHoles, JitterIsNoHoleAndSkippedPicturesAreDeclaredInOneStep) {
  // 30 images per second with jitter; two pictures skipped before frame 4, one before frame 7.
  const std::vector<double> times = {0.0, 0.034, 0.066, 0.1, 0.2, 0.233, 0.268, 0.333, 0.366};
  const TimestampHoles holes = FindTimestampHoles(times);
  EXPECT_NEAR(holes.interval, 1.0 / 30, 0.002);
  EXPECT_EQ(holes.missingBefore, (std::vector<std::int32_t>{0, 0, 0, 0, 2, 0, 0, 1, 0}));
  EXPECT_EQ(holes.total, 3);

  Montage montage;
  montage.ResetMontage(9);
  DeclareHoles(montage, holes);
  for (int m = 0; m < 9; ++m) EXPECT_EQ(montage.FrameTimeIndex(m), std::lround(times[m] * 30)) << m;
  EXPECT_EQ(montage.MissingFrameCount(), 3);
}

TEST(TimestampHoles, RegularOrTooShortClipsHaveNone) {
  EXPECT_EQ(FindTimestampHoles({0, 0.04, 0.08, 0.12}).total, 0);
  EXPECT_EQ(FindTimestampHoles({0, 1}).total, 0);
  EXPECT_EQ(FindTimestampHoles({0, 0, 0, 0}).total, 0);          // no spacing to measure
  EXPECT_EQ(FindTimestampHoles({0, 0.04, 0.08, 1e9}).total, 0);  // a broken time
}

}  // namespace
}  // namespace kinovia
