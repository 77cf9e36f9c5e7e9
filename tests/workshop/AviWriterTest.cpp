// The AVI writer's files as ffprobe and ffmpeg read them, and what a failure leaves on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "FfmpegProbe.h"
#include "media/recording/AviWriter.h"

namespace kinovia {
namespace {

using test::DecodeFrame;
using test::DecodeFrameBySeeking;
using test::ProbeClip;
using test::ScratchFolder;

struct Rgb8 {
  int r, g, b;
};

// Every frame its own pair of colours: the top-left quarter shows `Inner`, the rest `Outer`, so
// a frame stored upside down, mirrored, shifted or with red and blue swapped is caught.
Rgb8 Inner(int n) { return {(40 + 53 * n) % 256, (200 + 31 * n) % 256, 30}; }
Rgb8 Outer(int n) { return {20, (60 + 71 * n) % 256, (230 + 17 * n) % 256}; }

bool InTopLeft(int x, int y, int width, int height) { return x < width / 2 && y < height / 2; }

// Frame n in the given layout, rows `stride` bytes apart (padding filled with noise).
std::vector<std::uint8_t> PatternFrame(int n, int width, int height, std::size_t stride,
                                       PixelLayout layout) {
  std::vector<std::uint8_t> pixels(stride * static_cast<std::size_t>(height), 0xA7);
  const std::size_t step = layout == PixelLayout::Bgrx32 ? 4 : 3;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb8 c = InTopLeft(x, y, width, height) ? Inner(n) : Outer(n);
      std::uint8_t* p = &pixels[stride * y + step * x];
      const bool rgb = layout == PixelLayout::Rgb24;
      p[0] = static_cast<std::uint8_t>(rgb ? c.r : c.b);
      p[1] = static_cast<std::uint8_t>(c.g);
      p[2] = static_cast<std::uint8_t>(rgb ? c.b : c.r);
    }
  }
  return pixels;
}

struct WriteCase {
  const char* name;
  AviCodec codec;
  int width, height, frames;
  std::uint32_t rate, scale;
  PixelLayout layout;
  std::size_t padding;  // bytes after each row of the input
  const char* comment;
  const char* codecName;  // as ffprobe names it
  const char* frameRate;
  int tolerance;  // per channel, away from the colour edges
  std::uint64_t segmentBytes = kAviSegmentBytes;
};

const WriteCase kWriteCases[] = {
    {"dib_one_odd_frame", AviCodec::Uncompressed, 321, 241, 1, 25, 1, PixelLayout::Rgb24, 0, "",
     "rawvideo", "25/1", 0},
    {"dib_many_bgr_padded", AviCodec::Uncompressed, 33, 17, 40, 10, 1, PixelLayout::Bgr24, 5, "",
     "rawvideo", "10/1", 0},
    {"mjpeg_one_odd_frame", AviCodec::MotionJpeg, 321, 241, 1, 25, 1, PixelLayout::Rgb24, 0, "",
     "mjpeg", "25/1", 10},
    {"mjpeg_many_ntsc_bgrx", AviCodec::MotionJpeg, 321, 241, 30, 30000, 1001, PixelLayout::Bgrx32,
     12, "Kinovia video FFMpeg MPEG4 códec", "mjpeg", "30000/1001", 10},
    // Small parts stand in for 1 GiB ones: the frames run on through OpenDML "AVIX" parts.
    {"dib_in_many_parts", AviCodec::Uncompressed, 16, 8, 60, 25, 1, PixelLayout::Rgb24, 0, "",
     "rawvideo", "25/1", 0, 6000},
    {"mjpeg_in_many_parts", AviCodec::MotionJpeg, 33, 17, 45, 25, 1, PixelLayout::Rgb24, 0,
     "comment", "mjpeg", "25/1", 10, 8000},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t Le32At(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
  return v;
}

// Whether the chunks between `begin` and `end` tile it exactly, lists and their contents alike:
// a wrong list size leaves a reader lost in the file.
bool ChunksTile(const std::string& bytes, std::size_t begin, std::size_t end) {
  while (begin < end) {
    if (begin + 8 > end) return false;
    const std::uint32_t size = Le32At(bytes, begin + 4);
    const std::size_t next = begin + 8 + size + (size & 1);
    const std::string id = bytes.substr(begin, 4);
    if (next > end) return false;
    if ((id == "LIST" || id == "RIFF") && !ChunksTile(bytes, begin + 12, begin + 8 + size))
      return false;
    begin = next;
  }
  return begin == end;
}

// The RIFF parts of the file ("AVI " then "AVIX"), or 0 when its structure is broken.
std::size_t RiffParts(const std::string& bytes) {
  if (!ChunksTile(bytes, 0, bytes.size())) return 0;
  std::size_t parts = 0;
  for (std::size_t at = 0; at < bytes.size(); at += 8 + Le32At(bytes, at + 4), ++parts) {
    if (bytes.substr(at, 4) != "RIFF") return 0;
    if (bytes.substr(at + 8, 4) != (parts == 0 ? "AVI " : "AVIX")) return 0;
  }
  return parts;
}

// ffmpeg seeks with the OpenDML index and recovers from a wrong idx1, so the AVI 1.0 index is
// checked here: each entry must name a key frame chunk of the right size where it points (from
// the "movi" type), in order. Returns the number of entries.
std::size_t CheckLegacyIndex(const std::string& bytes) {
  const std::size_t movi = bytes.find("movi");
  const std::size_t idx1 = movi + Le32At(bytes, movi - 4);
  EXPECT_EQ(bytes.substr(idx1, 4), "idx1");
  const std::size_t entries = Le32At(bytes, idx1 + 4) / 16;
  std::uint32_t previous = 0;
  for (std::size_t k = 0; k < entries; ++k) {
    const std::size_t e = idx1 + 8 + 16 * k;
    const std::uint32_t offset = Le32At(bytes, e + 8);
    EXPECT_EQ(bytes.substr(movi + offset, 4), bytes.substr(e, 4)) << "entry " << k;
    EXPECT_EQ(Le32At(bytes, movi + offset + 4), Le32At(bytes, e + 12)) << "entry " << k;
    EXPECT_EQ(Le32At(bytes, e + 4), 0x10u) << "entry " << k;
    EXPECT_GT(offset, previous) << "entry " << k;
    previous = offset;
  }
  return entries;
}

class AviWriterWrites : public testing::TestWithParam<WriteCase> {};

TEST_P(AviWriterWrites, FfmpegReadsEveryFrameAsWritten) {
  const WriteCase& c = GetParam();
  ScratchFolder folder(c.name);
  const auto file = folder.Path() / "clip.avi";
  AviFormat format;
  format.width = c.width;
  format.height = c.height;
  format.rate = c.rate;
  format.scale = c.scale;
  format.codec = c.codec;
  format.jpegQuality = 95;
  format.comment = c.comment;
  format.segmentBytes = c.segmentBytes;
  AviWriter writer;
  ASSERT_TRUE(writer.Open(file, format));
  const std::size_t step = c.layout == PixelLayout::Bgrx32 ? 4 : 3;
  const std::size_t stride = step * c.width + c.padding;
  for (int n = 0; n < c.frames; ++n) {
    const auto pixels = PatternFrame(n, c.width, c.height, stride, c.layout);
    ASSERT_TRUE(writer.AddFrame({pixels, c.width, c.height, stride, c.layout})) << n;
  }
  EXPECT_FALSE(std::filesystem::exists(file)) << "the target appears only when complete";
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"clip.avi"});

  const std::string bytes = FileText(file);
  const std::size_t indexed = CheckLegacyIndex(bytes);
  if (c.segmentBytes == kAviSegmentBytes) {
    EXPECT_EQ(RiffParts(bytes), 1u);
    EXPECT_EQ(indexed, static_cast<std::size_t>(c.frames));
  } else {
    EXPECT_GT(RiffParts(bytes), 2u);
    EXPECT_GT(indexed, 0u);
    EXPECT_LT(indexed, static_cast<std::size_t>(c.frames));
  }

  auto probe = ProbeClip(file);
  EXPECT_EQ(probe["codec_name"], c.codecName);
  EXPECT_EQ(probe["width"], std::to_string(c.width));
  EXPECT_EQ(probe["height"], std::to_string(c.height));
  EXPECT_EQ(probe["r_frame_rate"], c.frameRate);
  EXPECT_EQ(probe["nb_read_frames"], std::to_string(c.frames));
  EXPECT_EQ(probe["TAG:comment"], c.comment);

  const double framesPerSecond = static_cast<double>(c.rate) / c.scale;
  for (const int n : {0, c.frames / 2, c.frames - 1}) {
    const auto decoded = DecodeFrame(file, n);
    ASSERT_EQ(DecodeFrameBySeeking(file, n, framesPerSecond), decoded) << n;
    const auto& rgb = decoded;
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(3 * c.width * c.height)) << n;
    // Points well inside each area, where compression keeps the flat colour.
    const struct {
      int x, y;
      Rgb8 expected;
    } probes[] = {{c.width / 4, c.height / 4, Inner(n)},
                  {3 * c.width / 4, c.height / 4, Outer(n)},
                  {c.width / 4, 3 * c.height / 4, Outer(n)},
                  {3 * c.width / 4, 3 * c.height / 4, Outer(n)}};
    for (const auto& p : probes) {
      const std::uint8_t* got = &rgb[3 * (static_cast<std::size_t>(p.y) * c.width + p.x)];
      EXPECT_NEAR(got[0], p.expected.r, c.tolerance)
          << "frame " << n << " at " << p.x << "," << p.y;
      EXPECT_NEAR(got[1], p.expected.g, c.tolerance)
          << "frame " << n << " at " << p.x << "," << p.y;
      EXPECT_NEAR(got[2], p.expected.b, c.tolerance)
          << "frame " << n << " at " << p.x << "," << p.y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, AviWriterWrites, testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

AviFormat SmallFormat() {
  AviFormat format;
  format.width = 16;
  format.height = 8;
  format.codec = AviCodec::Uncompressed;
  return format;
}

TEST(AviWriter, FailureKeepsTheOldFileAndLeavesNoTemporary) {
  ScratchFolder folder("avi-failures");
  const auto file = folder.Path() / "kept.avi";
  std::ofstream(file) << "previous recording";
  const auto good = PatternFrame(0, 16, 8, 48, PixelLayout::Rgb24);
  const auto wrongSize = PatternFrame(0, 15, 8, 45, PixelLayout::Rgb24);
  const std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);

  const struct {
    const char* what;
    FrameView frame;
    AviError error;
  } cases[] = {
      {"a frame of another size",
       {wrongSize, 15, 8, 45, PixelLayout::Rgb24},
       AviError::FrameDamaged},
      {"fewer pixels than declared",
       {truncated, 16, 8, 48, PixelLayout::Rgb24},
       AviError::FrameDamaged},
      {"rows overlapping", {good, 16, 8, 40, PixelLayout::Rgb24}, AviError::FrameDamaged},
  };
  for (const auto& c : cases) {
    AviWriter writer;
    ASSERT_TRUE(writer.Open(file, SmallFormat()));
    ASSERT_TRUE(writer.AddFrame({good, 16, 8, 48, PixelLayout::Rgb24}));
    EXPECT_FALSE(writer.AddFrame(c.frame)) << c.what;
    EXPECT_EQ(writer.Error(), c.error) << c.what;
    EXPECT_FALSE(writer.Finish()) << c.what;
    EXPECT_EQ(FileText(file), "previous recording") << c.what;
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"kept.avi"}) << c.what;
  }
  {
    AviWriter abandoned;
    ASSERT_TRUE(abandoned.Open(file, SmallFormat()));
    ASSERT_TRUE(abandoned.AddFrame({good, 16, 8, 48, PixelLayout::Rgb24}));
  }
  EXPECT_EQ(FileText(file), "previous recording");
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"kept.avi"});
}

TEST(AviWriter, RefusesFormatsItCannotWrite) {
  ScratchFolder folder("avi-formats");
  const auto with = [](auto change) {
    AviFormat format = SmallFormat();
    change(format);
    return format;
  };
  const struct {
    const char* what;
    AviFormat format;
    std::filesystem::path file;
    AviError error;
  } cases[] = {
      {"no width", with([](AviFormat& f) { f.width = 0; }), "a.avi", AviError::FormatRefused},
      {"negative height", with([](AviFormat& f) { f.height = -8; }), "a.avi",
       AviError::FormatRefused},
      {"too wide", with([](AviFormat& f) { f.width = kAviMaxSide + 1; }), "a.avi",
       AviError::FormatRefused},
      {"no rate", with([](AviFormat& f) { f.rate = 0; }), "a.avi", AviError::FormatRefused},
      {"no scale", with([](AviFormat& f) { f.scale = 0; }), "a.avi", AviError::FormatRefused},
      {"missing folder", SmallFormat(), "missing/a.avi", AviError::CannotReplace},
  };
  for (const auto& c : cases) {
    AviWriter writer;
    EXPECT_FALSE(writer.Open(folder.Path() / c.file, c.format)) << c.what;
    EXPECT_EQ(writer.Error(), c.error) << c.what;
    EXPECT_FALSE(AviErrorText(writer.Error()).empty()) << c.what;
  }
  AviWriter unopened;
  const auto good = PatternFrame(0, 16, 8, 48, PixelLayout::Rgb24);
  EXPECT_FALSE(unopened.AddFrame({good, 16, 8, 48, PixelLayout::Rgb24}));
  EXPECT_EQ(unopened.Error(), AviError::NotInitialised);
  EXPECT_TRUE(folder.FileNames().empty());
}

TEST(AviWriter, StopsCleanlyWhenTheFileCannotGrow) {
  ScratchFolder folder("avi-limit");
  const auto good = PatternFrame(0, 16, 8, 48, PixelLayout::Rgb24);
  const FrameView frame{good, 16, 8, 48, PixelLayout::Rgb24};
  const struct {
    const char* what;
    std::uint64_t segmentBytes;
    std::uint32_t fewest, most;  // frames written before the refusal
  } cases[] = {
      // A part of 6000 bytes holds 14 frames of 392 bytes with its index; 256 parts at most.
      {"every part used", 6000, 255 * 14, 256 * 14},
      {"a frame larger than a part", 4600, 0, 0},
  };
  for (const auto& c : cases) {
    AviFormat format = SmallFormat();
    format.segmentBytes = c.segmentBytes;
    AviWriter writer;
    ASSERT_TRUE(writer.Open(folder.Path() / "big.avi", format)) << c.what;
    std::uint32_t written = 0;
    while (written < 100000 && writer.AddFrame(frame)) ++written;
    EXPECT_EQ(writer.Error(), AviError::TooLarge) << c.what;
    EXPECT_GE(written, c.fewest) << c.what;
    EXPECT_LE(written, c.most) << c.what;
    EXPECT_FALSE(writer.Finish()) << c.what;
    EXPECT_TRUE(folder.FileNames().empty()) << c.what;
  }
}

TEST(AviWriter, ReplacesAnExistingFileWhole) {
  ScratchFolder folder("avi-replace");
  const auto file = folder.Path() / "clip.avi";
  std::ofstream(file) << std::string(100000, 'x');
  AviWriter writer;
  ASSERT_TRUE(writer.Open(file, SmallFormat()));
  const auto good = PatternFrame(0, 16, 8, 48, PixelLayout::Rgb24);
  ASSERT_TRUE(writer.AddFrame({good, 16, 8, 48, PixelLayout::Rgb24}));
  ASSERT_TRUE(writer.Finish());
  EXPECT_LT(std::filesystem::file_size(file), 10000u);
  EXPECT_EQ(ProbeClip(file)["nb_read_frames"], "1");
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"clip.avi"});
}

}  // namespace
}  // namespace kinovia
