// The AVI layout reader on files built byte by byte: each index, dropped frames, hostile values.
#include <gtest/gtest.h>

#include <cstring>

#include "media/video/AviFileSource.h"
#include "media/video/AviIndex.h"
#include "tests/video/AviBuilder.h"

namespace kinovia {
namespace {

using test::AviRecipe;
using test::BuildAvi;

// Red of frame n's picture, as the builder paints it.
int RedOf(const AviLayout& layout, const std::vector<std::uint8_t>& file, std::size_t n) {
  const auto& chunk = layout.frames.at(n);
  const std::vector<std::uint8_t> data(file.begin() + static_cast<long>(chunk.offset),
                                       file.begin() + static_cast<long>(chunk.offset + chunk.size));
  Bitmap frame;
  frame.Resize(layout.width, layout.height);
  if (!DecodeAviFrame(layout, data, frame)) return -1;
  return frame.pixels[0];
}

TEST(AviIndex, FindsEveryFrameThroughWhicheverIndexTheFileHas) {
  const struct {
    bool openDml, idx1;
    AviIndexKind expected;
  } cases[] = {
      {true, true, AviIndexKind::OpenDml},
      {true, false, AviIndexKind::OpenDml},
      {false, true, AviIndexKind::Idx1},
      {false, false, AviIndexKind::Scan},
  };
  for (const auto& c : cases) {
    const auto file = BuildAvi({.openDml = c.openDml, .idx1 = c.idx1, .dropped = {}});
    const auto layout = ReadAviLayout(MemoryBytes(file));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->indexKind, c.expected);
    EXPECT_EQ(layout->width, 6);
    EXPECT_EQ(layout->height, 4);
    EXPECT_EQ(layout->rate, 25u);
    ASSERT_EQ(layout->frames.size(), 5u);
    for (std::size_t n = 0; n < 5; ++n) EXPECT_EQ(RedOf(*layout, file, n), 40 * n);
  }
}

TEST(AviIndex, BottomUpRowsComeOutTopDown) {
  const auto file = BuildAvi({.width = 3, .height = 4, .frames = 1, .dropped = {}});
  const auto layout = ReadAviLayout(MemoryBytes(file));
  ASSERT_TRUE(layout);
  const auto& chunk = layout->frames[0];
  const std::vector<std::uint8_t> data(file.begin() + static_cast<long>(chunk.offset),
                                       file.begin() + static_cast<long>(chunk.offset + chunk.size));
  Bitmap frame;
  frame.Resize(3, 4);
  ASSERT_TRUE(DecodeAviFrame(*layout, data, frame));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(frame.Row(y)[3 * x + 2], x * 10 + y) << x << "," << y;
}

TEST(AviIndex, DroppedFramesRepeatTheFrameBefore) {
  for (const bool openDml : {true, false}) {
    const auto file = BuildAvi({.frames = 6, .openDml = openDml, .dropped = {0, 3, 4}});
    const auto layout = ReadAviLayout(MemoryBytes(file));
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->frames.size(), 6u);
    const int expected[] = {40, 40, 80, 80, 80, 200};
    for (std::size_t n = 0; n < 6; ++n) EXPECT_EQ(RedOf(*layout, file, n), expected[n]) << n;
  }
  EXPECT_FALSE(ReadAviLayout(MemoryBytes(BuildAvi({.frames = 2, .dropped = {0, 1}}))));
}

void Poke32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::size_t Find(const std::vector<std::uint8_t>& file, const char* tag) {
  for (std::size_t i = 0; i + 4 <= file.size(); ++i)
    if (std::memcmp(file.data() + i, tag, 4) == 0) return i;
  return 0;
}

// Each hostile value must be refused or bounded, never read past the file.
TEST(AviIndex, HostileSizesAndOffsetsStayInsideTheFile) {
  const struct {
    const char* what;
    const char* tag;
    std::size_t offset;  // from the tag
    std::uint32_t value;
    bool opens;
  } cases[] = {
      {"list size beyond the file", "movi", static_cast<std::size_t>(-4), 0xFFFFFFF0, true},
      {"index entry far out", "ix00", 32, 0x7FFFFFF0, true},
      {"index count huge", "ix00", 12, 0xFFFFFFFF, true},
      {"super index to nowhere", "indx", 28, 0xFFFFFFFF, true},
      {"frame size beyond the file", "idx1", 20, 0x7FFFFFFF, true},
      {"zero rate", "vids", 24, 0, false},
      {"width negative", "strf", 12, 0x80000000, false},
      {"height too large", "strf", 16, 100000, false},
  };
  for (const auto& c : cases) {
    auto file = BuildAvi({.frames = 3, .dropped = {}});
    Poke32(file, Find(file, c.tag) + c.offset, c.value);
    const auto layout = ReadAviLayout(MemoryBytes(file));
    EXPECT_EQ(layout.has_value(), c.opens) << c.what;
    if (!layout) continue;
    for (const auto& frame : layout->frames)
      EXPECT_LE(frame.offset + frame.size, file.size()) << c.what;
  }
  for (std::size_t cut = 0; cut < 400; cut += 7) {
    const auto file = BuildAvi({.frames = 3, .dropped = {}});
    const std::vector<std::uint8_t> head(file.begin(), file.begin() + static_cast<long>(cut));
    const auto layout = ReadAviLayout(MemoryBytes(head));
    if (!layout) continue;
    for (const auto& frame : layout->frames) EXPECT_LE(frame.offset + frame.size, cut);
  }
}

}  // namespace
}  // namespace kinovia
