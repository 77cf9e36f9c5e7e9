// Recording a montage through each recorder, read back by ffprobe, ffmpeg and our own sources.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "FfmpegProbe.h"
#include "media/recording/AviWriter.h"
#include "media/recording/MontageRecorder.h"
#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "resources/TxtVideo.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

using test::DecodeFrame;
using test::ProbeClip;
using test::ScratchFolder;

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr int kFrames = 5;

// Frame n: a smooth gradient whose colours turn with n and a square that moves, so frames differ
// from each other far more than a lossy codec alters them.
std::vector<std::uint8_t> SourcePixels(int n) {
  std::vector<std::uint8_t> p(std::size_t(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* at = &p[(std::size_t(y) * kWidth + x) * 3];
      const bool square = x >= 10 + 12 * n && x < 26 + 12 * n && y >= 20 && y < 36;
      at[0] = std::uint8_t(square ? 200 : 30 + x + 20 * n);
      at[1] = std::uint8_t(square ? 60 : 40 + 2 * y + 10 * n);
      at[2] = std::uint8_t(square ? 180 : 200 - x / 2 - y - 15 * n);
    }
  return p;
}

double Psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += (double(a[i]) - b[i]) * (double(a[i]) - b[i]);
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * double(a.size()) / sum);
}

// Five frames whose time indices are 0, 1, 3, 4 and 7.
Montage MontageWithHoles() {
  Montage montage;
  montage.ResetMontage(kFrames);
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(2, +1));
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(4, +2));
  return montage;
}

class MontageRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AviWriter writer;
    AviFormat format;
    format.width = kWidth;
    format.height = kHeight;
    format.rate = 10;
    format.codec = AviCodec::Uncompressed;
    ASSERT_TRUE(writer.Open(clip_, format));
    for (int n = 0; n < kFrames; ++n) {
      const auto pixels = SourcePixels(n);
      ASSERT_TRUE(writer.AddFrame({pixels, kWidth, kHeight, kWidth * 3, PixelLayout::Rgb24}));
    }
    ASSERT_TRUE(writer.Finish());
    ASSERT_TRUE(source_.Open(clip_.string()));
  }

  Result<std::int32_t> Record(const RecordSettings& settings, const std::filesystem::path& out,
                              const RecordProgress& progress = {}) {
    auto recorder = MakeRecorder(settings.framework);
    return RecordMontage(source_, montage_, settings, *recorder, out, progress);
  }

  ScratchFolder folder_{"montage_recorder"};
  std::filesystem::path clip_ = folder_.Path() / "source.avi";
  AviFileSource source_;
  Montage montage_ = MontageWithHoles();
};

struct RecorderCase {
  const char* name;
  RecordFramework framework;
  const char* codec;  // empty: the framework's first
  const char* probedCodec;
  double psnr;
};

void PrintTo(const RecorderCase& c, std::ostream* os) { *os << c.name; }

class EachRecorder : public MontageRecorderTest,
                     public ::testing::WithParamInterface<RecorderCase> {};

TEST_P(EachRecorder, WritesTheVisibleFramesWithGreyBlanksAtTheRate) {
  const RecorderCase& c = GetParam();
  RecordSettings settings;
  settings.framework = c.framework;
  settings.codec = c.codec;
  settings.framesPerSecond = 12.5;
  settings.blanks = true;
  source_.SetPosition(3);
  const auto out = folder_.Path() / "montage.avi";

  const auto written = Record(settings, out);

  ASSERT_TRUE(written) << PlainText(written.Failure());
  EXPECT_EQ(written.Value(), 8);
  EXPECT_EQ(source_.CurrentFrame(), 3);  // the frame shown before is shown again
  auto probed = ProbeClip(out);
  EXPECT_EQ(probed["nb_read_frames"], "8");
  EXPECT_EQ(probed["width"], std::to_string(kWidth));
  EXPECT_EQ(probed["height"], std::to_string(kHeight));
  EXPECT_EQ(probed["r_frame_rate"], "25/2");
  if (*c.probedCodec) {
    EXPECT_EQ(probed["codec_name"], c.probedCodec);
  }
  const std::vector<int> slots = {0, 1, -1, 2, 3, -1, -1, 4};
  const std::vector<std::uint8_t> grey(std::size_t(kWidth) * kHeight * 3, kBlankGrey);
  for (int slot = 0; slot < int(slots.size()); ++slot) {
    const auto expected = slots[slot] < 0 ? grey : SourcePixels(slots[slot]);
    EXPECT_GE(Psnr(DecodeFrame(out, slot), expected), c.psnr) << "slot " << slot;
  }
  // Kinovia opens it too, through both of its readers that take AVI files.
  FFmpegSource ffmpeg;
  ASSERT_TRUE(ffmpeg.Open(out.string()));
  EXPECT_EQ(ffmpeg.FrameCount(), 8);
  EXPECT_DOUBLE_EQ(ffmpeg.FramesPerSecond(), 12.5);
  if (c.framework == RecordFramework::Avi) {
    AviFileSource own;
    ASSERT_TRUE(own.Open(out.string()));
    EXPECT_EQ(own.FrameCount(), 8);
  }
  // Only the FFmpeg recorder's files carry its comment.
  EXPECT_EQ(probed["TAG:comment"],
            c.framework == RecordFramework::FFmpeg ? Txt(txt::VideoOwnRecorderComment) : "");
  EXPECT_EQ(folder_.FileNames(), (std::vector<std::string>{"montage.avi", "source.avi"}));
}

INSTANTIATE_TEST_SUITE_P(
    Recorders, EachRecorder,
    ::testing::Values(
        RecorderCase{"avi_uncompressed", RecordFramework::Avi, "sin compresión", "rawvideo", 99},
        RecorderCase{"avi_mjpeg", RecordFramework::Avi, "Motion-JPEG", "mjpeg", 35},
        RecorderCase{"ffmpeg_mpeg4", RecordFramework::FFmpeg, "", "mpeg4", 35},
        RecorderCase{"gstreamer_first", RecordFramework::GStreamer, "", "", 35},
        RecorderCase{"gstreamer_mpeg4", RecordFramework::GStreamer, "avenc_mpeg4", "mpeg4", 35}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MontageRecorderTest, CropsAndResizesAsAsked) {
  RecordSettings crop;
  crop.codec = "sin compresión";
  crop.change = PictureChange::Crop;
  crop.crop = {4, 8, 10, 6};  // top, bottom, left, right
  const auto cropped = folder_.Path() / "crop.avi";
  ASSERT_TRUE(Record(crop, cropped));
  const int w = kWidth - 16, h = kHeight - 12;
  EXPECT_EQ(ProbeClip(cropped)["width"], std::to_string(w));
  EXPECT_EQ(ProbeClip(cropped)["height"], std::to_string(h));
  const auto whole = SourcePixels(2);
  std::vector<std::uint8_t> expected;
  for (int y = 4; y < 4 + h; ++y)
    expected.insert(expected.end(), whole.begin() + (y * kWidth + 10) * 3,
                    whole.begin() + (y * kWidth + 10 + w) * 3);
  EXPECT_EQ(DecodeFrame(cropped, 2), expected);

  RecordSettings resize = crop;
  resize.change = PictureChange::Resize;
  resize.width = 2 * kWidth;
  resize.height = kHeight / 2;
  const auto resized = folder_.Path() / "resize.avi";
  ASSERT_TRUE(Record(resize, resized));
  EXPECT_EQ(ProbeClip(resized)["width"], std::to_string(2 * kWidth));
  EXPECT_EQ(ProbeClip(resized)["height"], std::to_string(kHeight / 2));
  const auto stretched = DecodeFrame(resized, 4);
  // The pixel at (2x + 1, y) comes from (x, 2y + 1) of the source.
  const auto pick = [](const std::vector<std::uint8_t>& p, int width, int x, int y) {
    return std::vector<std::uint8_t>(p.begin() + (y * width + x) * 3,
                                     p.begin() + (y * width + x) * 3 + 3);
  };
  EXPECT_EQ(pick(stretched, 2 * kWidth, 2 * 20 + 1, 10), pick(SourcePixels(4), kWidth, 20, 21));
}

TEST_F(MontageRecorderTest, AbandonAndFailuresLeaveNoFileAndKeepAnOldOne) {
  const auto out = folder_.Path() / "montage.avi";
  {
    std::ofstream old(out);
    old << "an older file";
  }
  const struct {
    const char* name;
    RecordFramework framework;
    const char* codec;
    TxtId reason;
    int stopAt;  // percentage at which the progress asks to stop; > 100: never
  } cases[] = {
      {"abandon_avi", RecordFramework::Avi, "Motion-JPEG", txt::RecordStopped, 50},
      {"abandon_ffmpeg", RecordFramework::FFmpeg, "", txt::RecordStopped, 1},
      {"abandon_gstreamer", RecordFramework::GStreamer, "", txt::RecordStopped, 60},
      {"unknown_avi_codec", RecordFramework::Avi, "DIVX", txt::RecordCodecMissing, 101},
      {"unknown_gst_codec", RecordFramework::GStreamer, "nosuchenc", txt::RecordCodecMissing, 101},
  };
  for (const auto& c : cases) {
    RecordSettings settings;
    settings.framework = c.framework;
    settings.codec = c.codec;
    source_.SetPosition(1);
    int calls = 0;
    const auto written = Record(settings, out, [&](int percent) {
      ++calls;
      return percent < c.stopAt;
    });
    ASSERT_FALSE(written) << c.name;
    const auto& lines = written.Failure().lines;
    ASSERT_EQ(lines.size(), 3u) << c.name;
    EXPECT_EQ(lines[0].text, Txt(txt::RecordFailed));
    EXPECT_EQ(lines[2].text, Txt(c.reason)) << c.name;
    EXPECT_EQ(test::CommandOutput("cat '" + out.string() + "'"), "an older file") << c.name;
    EXPECT_EQ(folder_.FileNames(), (std::vector<std::string>{"montage.avi", "source.avi"}))
        << c.name;
    EXPECT_EQ(source_.CurrentFrame(), 1) << c.name;
  }
}

}  // namespace
}  // namespace kinovia
