// Clips as people bring them (odd sizes, display rotation, program and transport streams, edit
// lists, long groups of pictures, hidden VP9 pictures, 4:2:2 10-bit, full range), made by the
// ffmpeg tool: whatever source accepts a clip must agree with ffmpeg on the count, the interval
// and the pictures, or refuse it so that the next framework takes it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "logic/montage/Montage.h"
#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerSource.h"
#include "media/video/VideoControl.h"
#include "tests/video/ClipFixture.h"

namespace kinovia {
namespace {

using test::ClipPath;

struct CorpusClip {
  const char* clip;
  int width;  // as shown, after the rotation
  int height;
  int rotation;
  bool gstreamerServes;  // GStreamer is exact on it (otherwise it may refuse it, never serve it)
};

const CorpusClip kCorpus[] = {
    {"yuv420.mp4", 134, 76, 0, true},    {"rotate90.mp4", 76, 134, 270, true},
    {"rotate180.mp4", 134, 76, 180, true}, {"rotate270.mp4", 76, 134, 90, true},
    {"mpeg1.mpg", 90, 52, 0, false},      {"mpeg2.mpg", 96, 64, 0, false},
    {"h264.ts", 106, 60, 0, false},       {"camcorder.m2ts", 106, 60, 0, false},
    {"trimmed.mp4", 106, 60, 0, false},  {"longgop.mp4", 74, 42, 0, true},
    {"vp9.webm", 90, 52, 0, false},      {"audiofirst.mkv", 98, 54, 0, true},
    {"fullrange.mov", 90, 52, 0, false},
};

// Mean difference per channel allowed against ffmpeg's own conversion of the same picture.
constexpr double kFfmpegTolerance = 1.5;
constexpr double kGStreamerTolerance = 6;

enum class Kind { Avi, GStreamer, FFmpeg };

std::unique_ptr<FrameSource> MakeSource(Kind kind) {
  if (kind == Kind::Avi) return std::make_unique<AviFileSource>();
  if (kind == Kind::GStreamer) return std::make_unique<GStreamerSource>();
  return std::make_unique<FFmpegSource>();
}

// The facts and frames 0, 1, middle, last - 1 and last against ffmpeg's decoding.
void ExpectServedAsFfmpeg(FrameSource& source, const CorpusClip& c, double tolerance) {
  const auto reference = test::LoadReference(c.clip, c.width, c.height);
  const int count = reference.FrameCount();
  ASSERT_GT(count, 1);
  EXPECT_EQ(source.FrameCount(), count);
  EXPECT_EQ(source.Width(), c.width);
  EXPECT_EQ(source.Height(), c.height);
  EXPECT_EQ(source.Rotation(), c.rotation);
  EXPECT_NEAR(source.Interval(), 0.04, 1e-9);
  for (const int n : {0, 1, count / 2, count - 2, count - 1, count / 2, 0}) {
    source.SetPosition(n);
    Bitmap picture;
    ASSERT_TRUE(source.DrawWhole(picture)) << n;
    EXPECT_EQ(test::IdentifyFrame(reference, picture, tolerance), n) << "frame " << n;
  }
}

TEST(ClipCorpus, FfmpegServesEveryClipAsTheFfmpegToolShowsIt) {
  for (const auto& c : kCorpus) {
    SCOPED_TRACE(c.clip);
    FFmpegSource source;
    ASSERT_TRUE(source.Open(ClipPath(c.clip)));
    ExpectServedAsFfmpeg(source, c, kFfmpegTolerance);
  }
}

TEST(ClipCorpus, OtherSourcesServeExactlyOrRefuse) {
  for (const auto& c : kCorpus) {
    for (const Kind kind : {Kind::Avi, Kind::GStreamer}) {
      const std::string who = kind == Kind::Avi ? " by avi" : " by gstreamer";
      SCOPED_TRACE(c.clip + who);
      auto source = MakeSource(kind);
      const bool open = source->Open(ClipPath(c.clip));
      if (kind == Kind::GStreamer) {
        EXPECT_TRUE(open || !c.gstreamerServes);
      }
      if (open) ExpectServedAsFfmpeg(*source, c, kGStreamerTolerance);
    }
  }
}

// Whatever framework the extension names first, the chain ends on one that serves the clip.
TEST(ClipCorpus, TheWindowOpensEveryClipUpright) {
  Montage montage;
  VideoControl video(montage);
  for (const auto& c : kCorpus) {
    SCOPED_TRACE(c.clip);
    ASSERT_TRUE(video.Open(ClipPath(c.clip)));
    EXPECT_EQ(video.PictureWidth(), c.width);
    EXPECT_EQ(video.PictureHeight(), c.height);
  }
}

}  // namespace
}  // namespace kinovia
