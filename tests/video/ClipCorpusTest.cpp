// Clips as people bring them (odd sizes, display rotation, program and transport streams, edit
// lists, long groups of pictures, HEVC, hidden VP9 pictures, 4:2:2 10-bit, full range), made by the
// ffmpeg tool: whatever source accepts a clip must agree with ffmpeg on the count, the interval
// and the pictures, or refuse it so that the next framework takes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

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
    {"yuv420.mp4", 134, 76, 0, true},
    {"rotate90.mp4", 76, 134, 270, true},
    {"rotate180.mp4", 134, 76, 180, true},
    {"rotate270.mp4", 76, 134, 90, true},
    {"mpeg1.mpg", 90, 52, 0, false},
    {"mpeg2.mpg", 96, 64, 0, false},
    {"h264.ts", 106, 60, 0, false},
    {"camcorder.m2ts", 106, 60, 0, false},
    {"trimmed.mp4", 106, 60, 0, false},
    {"longgop.mp4", 74, 42, 0, true},
    {"vp9.webm", 90, 52, 0, false},
    {"audiofirst.mkv", 98, 54, 0, true},
    {"fullrange.mov", 90, 52, 0, false},
    {"hevc.mov", 90, 52, 0, false},
    {"wmv2.wmv", 96, 64, 0, false},
    {"hd.mp4", 1280, 720, 0, true},
    {"h264bf.avi", 106, 60, 0, false},
    {"opengop.avi", 106, 60, 0, false},
    {"cut-picture.avi", 106, 60, 0, false},
    {"cut-header.avi", 106, 60, 0, false},
    {"cut-picture.ts", 106, 60, 0, false},
    {"copied.avi", 106, 60, 0, false},
    {"copied-annexb.avi", 106, 60, 0, false},
    {"hevc-copied.avi", 90, 52, 0, false},
    {"mjpeg420.avi", 98, 66, 0, true},
    {"mjpeg422.mkv", 98, 66, 0, true},
    {"rotate90-10bit.mp4", 76, 134, 270, true},
    {"paletted.avi", 96, 64, 0, false},
    {"cut-start.ts", 106, 60, 0, false},
};

// Mean difference per channel allowed against ffmpeg's own conversion of the same picture, for
// every source: each converts through swscale as the tool does (a JPEG decoder of its own rounds
// its transform a level or two away).
constexpr double kTolerance = 1.5;
constexpr int kRandomVisits = 24;

enum class Kind { Avi, GStreamer, FFmpeg };

std::unique_ptr<FrameSource> MakeSource(Kind kind) {
  if (kind == Kind::Avi) return std::make_unique<AviFileSource>();
  if (kind == Kind::GStreamer) return std::make_unique<GStreamerSource>();
  return std::make_unique<FFmpegSource>();
}

// The facts and frames 0, 1, middle, last - 1 and last against ffmpeg's decoding.
void ExpectServedAsFfmpeg(FrameSource& source, const CorpusClip& c) {
  const auto reference = test::LoadReference(c.clip, c.width, c.height);
  const int count = reference.FrameCount();
  ASSERT_GT(count, 1);
  EXPECT_EQ(source.FrameCount(), count);
  EXPECT_EQ(source.Width(), c.width);
  EXPECT_EQ(source.Height(), c.height);
  EXPECT_EQ(source.Rotation(), c.rotation);
  EXPECT_NEAR(source.Interval(), 0.04, 1e-9);
  // The ends and the middle, then frames in random order: seeks land before and after keyframes.
  std::vector<int> visits = {0, 1, count / 2, count - 2, count - 1, count / 2, 0};
  std::mt19937 random(21);
  std::uniform_int_distribution<int> anyFrame(0, count - 1);
  for (int i = 0; i < kRandomVisits; ++i) visits.push_back(anyFrame(random));
  for (const int n : visits) {
    source.SetPosition(n);
    Bitmap picture;
    ASSERT_TRUE(source.DrawWhole(picture)) << n;
    EXPECT_EQ(test::IdentifyFrame(reference, picture, kTolerance), n) << "frame " << n;
  }
}

TEST(ClipCorpus, FfmpegServesEveryClipAsTheFfmpegToolShowsIt) {
  for (const auto& c : kCorpus) {
    SCOPED_TRACE(c.clip);
    FFmpegSource source;
    ASSERT_TRUE(source.Open(ClipPath(c.clip)));
    ExpectServedAsFfmpeg(source, c);
  }
}

// A single keyframe looked at is decoded from its packet alone; what follows it still comes out
// right, from whatever state that left the decoder in.
TEST(ClipCorpus, AKeyframeDecodedAloneIsTheFrameAndSteppingGoesOn) {
  for (const auto& c : kCorpus) {
    if (c.rotation != 0) continue;  // stored pictures are compared with shown ones
    SCOPED_TRACE(c.clip);
    FFmpegSource source;
    ASSERT_TRUE(source.Open(ClipPath(c.clip)));
    const auto reference = test::LoadReference(c.clip, c.width, c.height);
    std::vector<std::int32_t> keys = source.KeyFrames();
    keys.resize(std::min<std::size_t>(keys.size(), 3));
    for (const std::int32_t k : keys) {
      Bitmap picture;
      picture.Resize(c.width, c.height);
      ASSERT_TRUE(source.DecodeStoredAlone(k, picture)) << k;
      EXPECT_EQ(test::IdentifyFrame(reference, picture, kTolerance), k);
      if (k + 1 >= source.FrameCount()) continue;
      ASSERT_TRUE(source.DecodeServed(k + 1, 0, picture)) << k + 1;
      EXPECT_EQ(test::IdentifyFrame(reference, picture, kTolerance), k + 1);
    }
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
      if (open) ExpectServedAsFfmpeg(*source, c);
      // Frames sought before GStreamer's check has spoken come from FFmpeg; once GStreamer is
      // trusted, from its own seeks.
      auto* gstreamer = dynamic_cast<GStreamerSource*>(source.get());
      if (!open || !gstreamer) continue;
      const bool trusted = gstreamer->ServesItsOwnFrames();
      EXPECT_TRUE(trusted || !c.gstreamerServes);
      if (trusted) {
        SCOPED_TRACE("after the check");
        ExpectServedAsFfmpeg(*source, c);
      }
    }
  }
}

// Whatever framework the extension names first, the chain ends on one that serves the clip as
// the ffmpeg tool shows it.
TEST(ClipCorpus, TheWindowOpensEveryClipUpright) {
  Montage montage;
  VideoControl video(montage);
  for (const auto& c : kCorpus) {
    SCOPED_TRACE(c.clip);
    ASSERT_TRUE(video.Open(ClipPath(c.clip)));
    EXPECT_EQ(video.PictureWidth(), c.width);
    EXPECT_EQ(video.PictureHeight(), c.height);
    ExpectServedAsFfmpeg(*video.Source(), c);
  }
}

// A clip GStreamer refuses after FFmpeg read it for the comparison is not read a second time:
// FFmpeg takes that reading over (no progress to report), and serves it as a fresh reading would;
// a reading of another file is left alone.
TEST(ClipCorpus, FfmpegTakesOverTheReadingOfAClipGStreamerRefused) {
  const std::string clip = ClipPath("longgop.mpg");
  GStreamerSource gstreamer;
  ASSERT_FALSE(gstreamer.Open(clip));
  std::unique_ptr<FFmpegSource> reading = gstreamer.TakeRefusedReading();
  ASSERT_TRUE(reading);
  FFmpegSource source;
  int reports = 0;
  source.onOpeningProgress = [&](double) { return ++reports > 0; };
  source.TakeOverReading(std::move(reading));
  ASSERT_TRUE(source.Open(clip));
  EXPECT_EQ(reports, 0);
  FFmpegSource fresh;
  ASSERT_TRUE(fresh.Open(clip));
  ASSERT_EQ(source.FrameCount(), fresh.FrameCount());
  for (const int n : {fresh.FrameCount() - 1, fresh.FrameCount() / 2, 1}) {
    Bitmap taken;
    Bitmap read;
    source.SetPosition(n);
    fresh.SetPosition(n);
    ASSERT_TRUE(source.DrawWhole(taken) && fresh.DrawWhole(read)) << n;
    EXPECT_EQ(taken.pixels, read.pixels) << "frame " << n;
  }
  auto other = std::make_unique<FFmpegSource>();
  ASSERT_TRUE(other->Open(ClipPath("longgop.mp4")));
  source.TakeOverReading(std::move(other));
  reports = 0;
  ASSERT_TRUE(source.Open(clip));
  EXPECT_GT(reports, 0);
  EXPECT_EQ(source.FrameCount(), fresh.FrameCount());
}

// A long clip tells how far its opening has gone, and the user may give up: nothing stays open,
// no other framework is tried, and the next clip opens as usual.
TEST(ClipCorpus, OpeningReportsProgressAndCanBeCancelled) {
  const struct {
    const char* clip;
    bool throughControl;
  } cases[] = {{"longgop.mp4", false}, {"longgop.mp4", true}, {"longgop.mpg", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.clip) + (c.throughControl ? " by the video control" : ""));
    std::vector<double> reported;
    bool cancel = false;
    const auto progress = [&](double fraction) {
      reported.push_back(fraction);
      return !cancel;
    };
    Montage montage;
    VideoControl video(montage);
    FFmpegSource source;
    video.onOpeningProgress = progress;
    source.onOpeningProgress = progress;
    const auto open = [&] {
      return c.throughControl ? video.Open(ClipPath(c.clip)) : source.Open(ClipPath(c.clip));
    };
    ASSERT_TRUE(open());
    ASSERT_FALSE(reported.empty());
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_GE(reported.front(), 0);
    EXPECT_LE(reported.back(), 1);
    cancel = true;
    reported.clear();
    EXPECT_FALSE(open());
    EXPECT_EQ(reported.size(), 1u);  // nothing more is read once the user gave up
    EXPECT_FALSE(source.IsOpen());
    EXPECT_FALSE(video.IsOpen());
    if (c.throughControl) {
      EXPECT_TRUE(video.OpeningCancelled());
    } else {
      EXPECT_TRUE(source.OpeningCancelled());
      EXPECT_TRUE(source.ErrorLines().empty());
    }
    cancel = false;
    EXPECT_TRUE(open());
    EXPECT_FALSE(video.OpeningCancelled());
  }
}

}  // namespace
}  // namespace kinovia
