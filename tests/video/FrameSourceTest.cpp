// The three frame sources against clips made by ffmpeg: facts, and frame n is ffmpeg's frame n.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <random>

#include <sys/resource.h>

#include "logic/montage/Montage.h"
#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerSource.h"
#include "media/video/VideoControl.h"
#include "resources/TxtCommon.h"
#include "tests/video/AviBuilder.h"
#include "tests/video/ClipFixture.h"

namespace kinovia {
namespace {

using test::ClipPath;

enum class ObjectKind { Avi, GStreamer, FFmpeg };

std::unique_ptr<FrameSource> MakeSource(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Avi:
      return std::make_unique<AviFileSource>();
    case ObjectKind::GStreamer:
      return std::make_unique<GStreamerSource>();
    case ObjectKind::FFmpeg:
      return std::make_unique<FFmpegSource>();
  }
  return nullptr;
}

const char* KindName(ObjectKind kind) {
  return kind == ObjectKind::Avi ? "avi" : kind == ObjectKind::GStreamer ? "gstreamer" : "ffmpeg";
}

struct ClipCase {
  const char* clip;
  ObjectKind kind;
  int frames;
  int width;
  int height;
  double fps;
  double tolerance;  // mean difference per channel allowed against ffmpeg's own decoding
};

const ClipCase kClips[] = {
    {"mjpeg.avi", ObjectKind::Avi, 12, 96, 64, 25, 2},
    {"rgb24.avi", ObjectKind::Avi, 12, 95, 63, 25, 0},
    {"rgb32.avi", ObjectKind::Avi, 8, 64, 48, 25, 0},
    {"one.avi", ObjectKind::Avi, 1, 96, 64, 25, 2},
    {"mjpeg.avi", ObjectKind::FFmpeg, 12, 96, 64, 25, 2},
    {"rgb24.avi", ObjectKind::FFmpeg, 12, 95, 63, 25, 0},
    {"mpeg4.avi", ObjectKind::FFmpeg, 12, 96, 64, 25, 6},
    {"h264.mp4", ObjectKind::FFmpeg, 12, 98, 66, 25, 3},
    {"h264.mov", ObjectKind::FFmpeg, 12, 98, 66, 25, 3},
    {"mpeg2.mpg", ObjectKind::FFmpeg, 12, 96, 64, 25, 6},
    {"wmv2.wmv", ObjectKind::FFmpeg, 12, 96, 64, 25, 6},
    {"one.mp4", ObjectKind::FFmpeg, 1, 98, 66, 25, 3},
    {"vfr.mp4", ObjectKind::FFmpeg, 12, 98, 66, 24, 3},  // 23.9 frames a second on average
    {"h264.mp4", ObjectKind::GStreamer, 12, 98, 66, 25, 4},
    {"h264.mov", ObjectKind::GStreamer, 12, 98, 66, 25, 4},
    {"one.mp4", ObjectKind::GStreamer, 1, 98, 66, 25, 4},
};

// Which of ffmpeg's frames the source shows at n: -1 when it cannot draw or matches none.
int FrameShownAt(FrameSource& source, int n, const test::ReferenceFrames& reference,
                 double tolerance) {
  source.SetPosition(n);
  Bitmap picture;
  if (!source.DrawWhole(picture)) return -1;
  return test::IdentifyFrame(reference, picture, tolerance);
}

std::string Describe(const ClipCase& c) { return std::string(c.clip) + " by " + KindName(c.kind); }

TEST(FrameSource, OpensClipsWithTheirFacts) {
  for (const auto& c : kClips) {
    SCOPED_TRACE(Describe(c));
    auto source = MakeSource(c.kind);
    int opened = 0;
    source->onOpened = [&] { ++opened; };
    ASSERT_TRUE(source->Open(ClipPath(c.clip)));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(source->FrameCount(), c.frames);
    EXPECT_EQ(source->Width(), c.width);
    EXPECT_EQ(source->Height(), c.height);
    EXPECT_NEAR(source->FramesPerSecond(), c.fps, 0.01 * c.fps);
    EXPECT_NEAR(source->Interval(), 1 / c.fps, 0.01 / c.fps);
    EXPECT_EQ(source->DurationMs(), std::lround(1000 / source->FramesPerSecond()));
    EXPECT_EQ(source->CurrentFrame(), 0);
    EXPECT_EQ(source->FileName(), ClipPath(c.clip));
  }
}

// Stepping forward, going back and jumping about must each give exactly ffmpeg's frame n.
TEST(FrameSource, EveryFrameIsTheFrameFfmpegDecodesAtThatIndex) {
  std::mt19937 random(6);
  for (const auto& c : kClips) {
    SCOPED_TRACE(Describe(c));
    const auto reference = test::LoadReference(c.clip, c.width, c.height);
    ASSERT_EQ(reference.FrameCount(), c.frames);
    auto source = MakeSource(c.kind);
    ASSERT_TRUE(source->Open(ClipPath(c.clip)));
    std::vector<int> order(c.frames);
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> backwards(order.rbegin(), order.rend());
    std::vector<int> shuffled = order;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    for (const auto* visit : {&order, &backwards, &shuffled}) {
      for (const int n : *visit) EXPECT_EQ(FrameShownAt(*source, n, reference, c.tolerance), n);
    }
    // A frame drawn whole goes straight to its target: drawing it again, whole or inverted,
    // takes it anew from the framework and must give the same picture.
    Bitmap first;
    Bitmap again;
    Bitmap inverted;
    ASSERT_TRUE(source->DrawWhole(first));
    ASSERT_TRUE(source->DrawWhole(again));
    EXPECT_EQ(again.pixels, first.pixels);
    source->SetRasterOp(RasterOperation::Invert);
    ASSERT_TRUE(source->DrawWhole(inverted));
    ASSERT_EQ(inverted.pixels.size(), first.pixels.size());
    for (std::size_t i = 0; i < first.pixels.size(); ++i)
      ASSERT_EQ(inverted.pixels[i], 255 - first.pixels[i]) << i;
  }
}

TEST(FrameSource, DamagedOrForeignFilesDoNotOpen) {
  const char* files[] = {"garbage.avi", "garbage.mp4",  "hostile.avi",
                         "missing.avi", "h264.mp4.rgb", "audio.mp4"};
  for (const ObjectKind kind : {ObjectKind::Avi, ObjectKind::GStreamer, ObjectKind::FFmpeg}) {
    for (const char* file : files) {
      SCOPED_TRACE(std::string(file) + " by " + KindName(kind));
      auto source = MakeSource(kind);
      EXPECT_FALSE(source->Open(ClipPath(file)));
      EXPECT_FALSE(source->IsOpen());
      EXPECT_EQ(source->FrameCount(), 0);
      Bitmap picture;
      EXPECT_FALSE(source->DrawWhole(picture));
    }
  }
}

// GStreamer's seeks in an AVI with B-frames land two pictures late, and it finds frame n at
// n x T, where a variable frame rate shows another; such clips must be left to the next
// framework rather than show neighbour frames.
TEST(GStreamerSource, RefusesClipsWhoseSeeksMissTheFrame) {
  GStreamerSource source;
  EXPECT_FALSE(source.Open(ClipPath("mpeg4.avi")));
  EXPECT_FALSE(source.Open(ClipPath("vfr.mp4")));
  EXPECT_TRUE(source.Open(ClipPath("h264.mp4")));
}

TEST(FrameSource, PositionIsClampedToTheClip) {
  AviFileSource source;
  source.SetPosition(5);
  EXPECT_EQ(source.CurrentFrame(), 0);  // nothing open: ignored
  ASSERT_TRUE(source.Open(ClipPath("mjpeg.avi")));
  const struct {
    std::int32_t asked, expected;
  } cases[] = {{5, 5}, {-1, 0}, {12, 11}, {INT32_MAX, 11}, {INT32_MIN, 0}};
  for (const auto& c : cases) {
    source.SetPosition(c.asked);
    EXPECT_EQ(source.CurrentFrame(), c.expected) << c.asked;
  }
  source.Close();
  EXPECT_FALSE(source.IsOpen());
  EXPECT_EQ(source.CurrentFrame(), 0);
}

TEST(FrameSource, DrawStretchesTheSourceRectangleAndInvertsHiddenFrames) {
  AviFileSource source;
  ASSERT_TRUE(source.Open(ClipPath("rgb24.avi")));
  source.SetPosition(3);
  Bitmap whole;
  ASSERT_TRUE(source.DrawWhole(whole));
  Bitmap zoomed;
  zoomed.Resize(40, 20);  // the 10 x 5 rectangle at (20, 30), four times larger
  ASSERT_TRUE(source.Draw(zoomed, {20, 30, 30, 35}));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(zoomed.Row(y)[3 * x], whole.Row(30 + y / 4)[3 * (20 + x / 4)]) << x << "," << y;
  source.SetRasterOp(RasterOperation::Invert);
  Bitmap inverted;
  ASSERT_TRUE(source.DrawWhole(inverted));
  EXPECT_EQ(inverted.pixels[7], 255 - whole.pixels[7]);
}

// A 3 x 2 picture whose pixels are numbered 0..5 row by row, turned: the numbers read row by row.
TEST(FrameSource, TurnsPicturesClockwise) {
  Bitmap picture;
  picture.Resize(3, 2);
  for (int i = 0; i < 6; ++i) picture.pixels[3 * i] = static_cast<std::uint8_t>(i);
  const struct {
    int degrees;
    int width;
    std::vector<int> expected;
  } cases[] = {
      {90, 2, {3, 0, 4, 1, 5, 2}},
      {180, 3, {5, 4, 3, 2, 1, 0}},
      {270, 2, {2, 5, 1, 4, 0, 3}},
  };
  for (const auto& c : cases) {
    Bitmap turned;
    TurnClockwise(picture, c.degrees, turned);
    ASSERT_EQ(turned.width, c.width) << c.degrees;
    ASSERT_EQ(turned.width * turned.height, 6) << c.degrees;
    std::vector<int> read;
    for (int i = 0; i < 6; ++i) read.push_back(turned.pixels[3 * i]);
    EXPECT_EQ(read, c.expected) << c.degrees;
  }
}

// Copies a clip with some of its chunk names overwritten, to force another way of listing frames.
std::string CopyWithout(const std::string& clip, std::initializer_list<const char*> names) {
  std::ifstream in(ClipPath(clip), std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  for (const char* name : names)
    for (auto at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 4))
      bytes.replace(at, 4, "JUNK");
  const auto path = std::filesystem::path(KINOVIA_CLIPS_DIR) / ("without-" + clip);
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

TEST(AviFileSource, ListsFramesThroughTheAvi10IndexOrByWalkingTheChunks) {
  const struct {
    std::initializer_list<const char*> hidden;
    AviIndexKind expected;
  } cases[] = {
      {{}, AviIndexKind::Idx1},  // the ffmpeg tool writes no OpenDML index for small clips
      {{"idx1"}, AviIndexKind::Scan},
  };
  const auto reference = test::LoadReference("mjpeg.avi", 96, 64);
  for (const auto& c : cases) {
    AviFileSource source;
    ASSERT_TRUE(source.Open(CopyWithout("mjpeg.avi", c.hidden)));
    EXPECT_EQ(source.IndexKind(), c.expected);
    EXPECT_EQ(source.FrameCount(), 12);
    EXPECT_EQ(FrameShownAt(source, 7, reference, 2), 7);
  }
}

TEST(AviFileSource, TruncatedClipKeepsTheFramesThatAreWhole) {
  const auto reference = test::LoadReference("mjpeg.avi", 96, 64);
  AviFileSource source;
  ASSERT_TRUE(source.Open(ClipPath("truncated.avi")));
  EXPECT_EQ(source.IndexKind(), AviIndexKind::Scan);
  EXPECT_GE(source.FrameCount(), 1);
  EXPECT_LT(source.FrameCount(), 12);
  const int last = source.FrameCount() - 1;
  EXPECT_EQ(FrameShownAt(source, last, reference, 2), last);
}

TEST(FFmpegSource, ReportsHowFramesWereCountedAndItsErrorText) {
  FFmpegSource source;
  EXPECT_FALSE(source.Open(ClipPath("garbage.mp4")));
  EXPECT_EQ(source.ErrorLines(), std::vector<std::string>{Txt(txt::UnknownError)});
  ASSERT_TRUE(source.Open(ClipPath("h264.mp4")));
  EXPECT_TRUE(source.ErrorLines().empty());
  EXPECT_EQ(source.Counting(), FrameCounting::Packets);
}

// The container lists 12 frames but the file stops in the middle: the count comes from what
// really decodes, and every frame kept is still the right one.
TEST(FFmpegSource, CountsByDecodingWhenTheContainerOverstatesTheClip) {
  const auto reference = test::LoadReference("h264.mp4", 98, 66);
  FFmpegSource source;
  ASSERT_TRUE(source.Open(ClipPath("truncated.mp4")));
  EXPECT_EQ(source.Counting(), FrameCounting::Decoding);
  EXPECT_GE(source.FrameCount(), 2);
  EXPECT_LT(source.FrameCount(), 12);
  for (int n = source.FrameCount() - 1; n >= 0; --n) {
    EXPECT_EQ(FrameShownAt(source, n, reference, 3), n);
  }
  // AVI keeps no presentation times, so B-frames are only told apart by decoding.
  ASSERT_TRUE(source.Open(ClipPath("mpeg4.avi")));
  EXPECT_EQ(source.Counting(), FrameCounting::Decoding);
}

// AVI gives H.264's and HEVC's reordered pictures no presentation times: they are ranked from their
// packets without decoding, and only IDR keyframes (which close their group of pictures) start a
// seek.
TEST(FFmpegSource, RanksTheReorderedPicturesOfAnAviByTheirPackets) {
  struct Case {
    const char* clip;
    std::vector<std::int32_t> keyFrames;
  };
  for (const Case& c : {Case{"h264bf.avi", {0, 8, 16, 24, 32}}, Case{"opengop.avi", {0}},
                        Case{"hevc.avi", {0, 8, 16, 24, 32}}}) {
    SCOPED_TRACE(c.clip);
    const auto reference = test::LoadReference(c.clip, 106, 60);
    FFmpegSource source;
    ASSERT_TRUE(source.Open(ClipPath(c.clip)));
    EXPECT_EQ(source.Counting(), FrameCounting::Ranks);
    EXPECT_EQ(source.KeyFrames(), c.keyFrames);
    EXPECT_EQ(source.FrameCount(), reference.FrameCount());
    for (const int n : {30, 9, 39, 0, 17}) EXPECT_EQ(FrameShownAt(source, n, reference, 3), n);
  }
}

std::string WriteClip(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const auto path = std::filesystem::path(KINOVIA_CLIPS_DIR) / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

void Poke32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Two 64 x 48 uncompressed frames whose main and stream headers claim another picture size.
std::vector<std::uint8_t> AviClaiming(std::uint32_t width, std::uint32_t height) {
  auto file =
      test::BuildAvi({.width = 64, .height = 48, .frames = 2, .openDml = false, .dropped = {}});
  const std::string bytes(file.begin(), file.end());
  const std::size_t avih = bytes.find("avih");
  const std::size_t strf = bytes.find("strf");
  Poke32(file, avih + 8 + 32, width);
  Poke32(file, avih + 8 + 36, height);
  Poke32(file, strf + 12, width);
  Poke32(file, strf + 16, height);
  return file;
}

long PeakMemoryMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// A header may claim any picture size: beyond the caps, or beyond what the file holds, every
// source and the chain refuse the clip before allocating pictures of the claimed size.
TEST(FrameSource, SizeClaimsBeyondTheCapsOrTheDataAreRefusedAtOnce) {
  const struct {
    const char* name;
    std::uint32_t width, height;
  } cases[] = {{"claims-30000.avi", 30000, 30000}, {"claims-4096.avi", 4096, 4096}};
  // The libraries load their plugins and tables once, before the memory is watched.
  for (const ObjectKind kind : {ObjectKind::GStreamer, ObjectKind::FFmpeg})
    ASSERT_TRUE(MakeSource(kind)->Open(ClipPath("h264.mp4")));
  const long before = PeakMemoryMegabytes();
  for (const auto& c : cases) {
    const auto file = AviClaiming(c.width, c.height);
    ASSERT_LT(file.size(), 19000u);
    const std::string path = WriteClip(c.name, file);
    for (const ObjectKind kind : {ObjectKind::Avi, ObjectKind::GStreamer, ObjectKind::FFmpeg}) {
      SCOPED_TRACE(std::string(c.name) + " by " + KindName(kind));
      EXPECT_FALSE(MakeSource(kind)->Open(path));
    }
    Montage montage;
    VideoControl video(montage);
    EXPECT_FALSE(video.Open(path)) << c.name;
  }
  // One picture of 30000 x 30000 takes 2.7 GB; a sanitizer's own bookkeeping stays far below.
  EXPECT_LT(PeakMemoryMegabytes() - before, 400);
}

// Two frames of one pixel stored in 3 bytes each (rows unpadded), 288 bytes. Whether a source
// takes it may not depend on the run; when taken, it is served right.
TEST(FrameSource, TheSameTinyClipGetsTheSameAnswerEveryTime) {
  auto file =
      test::BuildAvi({.width = 1, .height = 1, .frames = 2, .openDml = false, .dropped = {}});
  ASSERT_EQ(file.size(), 288u);
  const std::string bytes(file.begin(), file.end());
  for (auto at = bytes.find("00db"); at != std::string::npos; at = bytes.find("00db", at + 4)) {
    const std::size_t size = at + (file[at + 4] == 4 ? 4 : 12);  // a chunk's, or its index entry's
    Poke32(file, size, 3);
  }
  const std::string path = WriteClip("tiny.avi", file);
  for (const ObjectKind kind : {ObjectKind::Avi, ObjectKind::GStreamer, ObjectKind::FFmpeg}) {
    SCOPED_TRACE(KindName(kind));
    std::vector<bool> answers;
    for (int run = 0; run < 12; ++run) {
      auto source = MakeSource(kind);
      answers.push_back(source->Open(path));
      if (!answers.back()) continue;
      EXPECT_EQ(source->FrameCount(), 2);
      for (const int n : {1, 0}) {
        source->SetPosition(n);
        Bitmap picture;
        ASSERT_TRUE(source->DrawWhole(picture));
        ASSERT_EQ(picture.pixels.size(), 3u);
        EXPECT_NEAR(picture.pixels[0], n * 40, 2) << n;  // the builder's red of frame n
      }
    }
    EXPECT_EQ(std::count(answers.begin(), answers.end(), answers.front()), 12);
  }
}

TEST(FFmpegSource, ReadsTheCommentOfTheFile) {
  EXPECT_EQ(FFmpegSource::Comment(ClipPath("comment.avi")), "Kinovia video FFMpeg MPEG4 códec");
  EXPECT_EQ(FFmpegSource::Comment(ClipPath("mjpeg.avi")), "");
  EXPECT_EQ(FFmpegSource::Comment(ClipPath("missing.avi")), "");
}

}  // namespace
}  // namespace kinovia
