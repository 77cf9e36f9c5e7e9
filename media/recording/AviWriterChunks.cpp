#include "media/recording/AviWriterChunks.h"

#include <algorithm>
#include <string>

namespace kinovia::avi {
namespace {

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyFrame = 0x10;
constexpr std::uint32_t kMainHeaderBytes = 56;
constexpr std::uint32_t kStreamHeaderBytes = 56;
constexpr std::uint32_t kBitmapInfoBytes = 40;
constexpr std::uint32_t kExtendedHeaderBytes = 248;
constexpr std::uint8_t kIndexOfIndexes = 0;
constexpr std::uint8_t kIndexOfChunks = 1;
constexpr std::uint32_t kIndexHeadBytes = 24;  // after the chunk header, before the entries

// Little-endian RIFF serialisation; a list's size is patched when it is closed.
class RiffBytes {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) { Le(v, 2); }
  void U32(std::uint32_t v) { Le(v, 4); }
  void U64(std::uint64_t v) { Le(v, 8); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  void Tag(std::string_view fourcc) { bytes_.insert(bytes_.end(), fourcc.begin(), fourcc.end()); }
  void Chunk(std::string_view fourcc, std::uint32_t size) {
    Tag(fourcc);
    U32(size);
  }
  // Opens "LIST"/"RIFF" with its type; returns the position of its size field.
  std::size_t OpenList(std::string_view kind, std::string_view type) {
    Tag(kind);
    const std::size_t at = bytes_.size();
    U32(0);
    Tag(type);
    return at;
  }
  void CloseList(std::size_t at) {
    const auto size = Le32(static_cast<std::uint32_t>(bytes_.size() - at - 4));
    std::copy(size.begin(), size.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Le(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

std::uint32_t TotalFrames(std::span<const RiffSegment> segments) {
  std::size_t total = 0;
  for (const auto& s : segments) total += s.chunks.size();
  return static_cast<std::uint32_t>(total);
}

void MainHeader(RiffBytes& h, const AviFormat& f, std::uint32_t firstFrames,
                std::uint32_t bufferBytes) {
  h.Chunk("avih", kMainHeaderBytes);
  h.U32(static_cast<std::uint32_t>(1000000.0 * f.scale / f.rate + 0.5));
  h.U32(static_cast<std::uint32_t>(
      std::min<std::uint64_t>(0xFFFFFFFF, std::uint64_t{bufferBytes} * f.rate / f.scale)));
  h.U32(0);  // padding granularity
  h.U32(kAvifHasIndex);
  h.U32(firstFrames);  // frames of the first part, as AVI 1.0 readers count them
  h.U32(0);            // initial frames
  h.U32(1);            // streams
  h.U32(bufferBytes);
  h.I32(f.width);
  h.I32(f.height);
  h.Zeros(16);
}

void StreamHeader(RiffBytes& h, const AviFormat& f, std::uint32_t frames,
                  std::uint32_t bufferBytes) {
  const bool mjpeg = f.codec == AviCodec::MotionJpeg;
  h.Chunk("strh", kStreamHeaderBytes);
  h.Tag("vids");
  h.Tag(mjpeg ? "MJPG" : "DIB ");
  h.U32(0);  // flags
  h.U32(0);  // priority and language
  h.U32(0);  // initial frames
  h.U32(f.scale);
  h.U32(f.rate);
  h.U32(0);  // start
  h.U32(frames);
  h.U32(bufferBytes);
  h.U32(mjpeg ? static_cast<std::uint32_t>(f.jpegQuality * 100) : 0xFFFFFFFF);
  h.U32(0);  // sample size: varies per frame
  h.U16(0);
  h.U16(0);
  h.U16(static_cast<std::uint16_t>(f.width));
  h.U16(static_cast<std::uint16_t>(f.height));
  h.Chunk("strf", kBitmapInfoBytes);
  h.U32(kBitmapInfoBytes);
  h.I32(f.width);
  h.I32(f.height);  // positive: rows stored bottom up
  h.U16(1);
  h.U16(24);
  if (mjpeg)
    h.Tag("MJPG");
  else
    h.U32(0);
  h.U32(FrameBufferBytes(f, 0));
  h.Zeros(16);
}

void SuperIndex(RiffBytes& h, std::span<const RiffSegment> segments, std::string_view chunkId) {
  h.Chunk("indx", kIndexHeadBytes + 16 * kMaxSegments);
  h.U16(4);  // longs per entry
  h.U8(0);
  h.U8(kIndexOfIndexes);
  const auto used = std::count_if(segments.begin(), segments.end(),
                                  [](const RiffSegment& s) { return s.ixOffset != 0; });
  h.U32(static_cast<std::uint32_t>(used));
  h.Tag(chunkId);
  h.Zeros(12);
  for (std::size_t i = 0; i < kMaxSegments; ++i) {
    const bool closed = i < segments.size() && segments[i].ixOffset != 0;
    h.U64(closed ? segments[i].ixOffset : 0);
    h.U32(closed ? static_cast<std::uint32_t>(StandardIndexBytes(segments[i].chunks.size())) : 0);
    h.U32(closed ? static_cast<std::uint32_t>(segments[i].chunks.size()) : 0);
  }
}

}  // namespace

std::string_view ChunkId(AviCodec codec) { return codec == AviCodec::MotionJpeg ? "00dc" : "00db"; }

std::size_t DibRowBytes(std::int32_t width) {
  return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

std::uint32_t FrameBufferBytes(const AviFormat& f, std::uint32_t largestFrame) {
  if (f.codec == AviCodec::MotionJpeg) return largestFrame;
  return static_cast<std::uint32_t>(DibRowBytes(f.width) * static_cast<std::size_t>(f.height));
}

std::uint64_t StandardIndexBytes(std::size_t entries) {
  return 8 + kIndexHeadBytes + 8 * std::uint64_t{entries};
}

std::uint64_t LegacyIndexBytes(std::size_t entries) { return 8 + 16 * std::uint64_t{entries}; }

std::array<std::uint8_t, 4> Le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::uint8_t> FileHeaders(const AviFormat& format,
                                      std::span<const RiffSegment> segments,
                                      std::uint32_t largestFrame) {
  const RiffSegment& first = segments.front();
  const std::uint32_t bufferBytes = FrameBufferBytes(format, largestFrame);
  const std::uint32_t total = TotalFrames(segments);
  RiffBytes h;
  h.Tag("RIFF");
  h.U32(first.riffEnd > 8 ? static_cast<std::uint32_t>(first.riffEnd - 8) : 0);
  h.Tag("AVI ");
  const std::size_t hdrl = h.OpenList("LIST", "hdrl");
  MainHeader(h, format, static_cast<std::uint32_t>(first.chunks.size()), bufferBytes);
  const std::size_t strl = h.OpenList("LIST", "strl");
  StreamHeader(h, format, total, bufferBytes);
  SuperIndex(h, segments, ChunkId(format.codec));
  h.CloseList(strl);
  const std::size_t odml = h.OpenList("LIST", "odml");
  h.Chunk("dmlh", kExtendedHeaderBytes);
  h.U32(total);
  h.Zeros(kExtendedHeaderBytes - 4);
  h.CloseList(odml);
  h.CloseList(hdrl);
  if (!format.comment.empty()) {
    const std::size_t info = h.OpenList("LIST", "INFO");
    const auto length = static_cast<std::uint32_t>(format.comment.size() + 1);
    h.Chunk("ICMT", length);
    h.Tag(format.comment);
    h.Zeros(1 + (length & 1));
    h.CloseList(info);
  }
  h.Tag("LIST");
  h.U32(first.moviEnd > first.moviTag ? static_cast<std::uint32_t>(first.moviEnd - first.moviTag)
                                      : 0);
  h.Tag("movi");
  return h.Take();
}

std::vector<std::uint8_t> SegmentStart() {
  RiffBytes h;
  h.OpenList("RIFF", "AVIX");
  h.OpenList("LIST", "movi");
  return h.Take();
}

std::vector<std::uint8_t> ChunkHeader(std::string_view fourcc, std::uint32_t size) {
  RiffBytes h;
  h.Chunk(fourcc, size);
  return h.Take();
}

// Offsets from the part's start, which keeps them within 32 bits.
std::vector<std::uint8_t> StandardIndex(const RiffSegment& segment, std::string_view chunkId) {
  RiffBytes h;
  h.Chunk("ix" + std::string(chunkId.substr(0, 2)),
          static_cast<std::uint32_t>(StandardIndexBytes(segment.chunks.size()) - 8));
  h.U16(2);  // longs per entry
  h.U8(0);
  h.U8(kIndexOfChunks);
  h.U32(static_cast<std::uint32_t>(segment.chunks.size()));
  h.Tag(chunkId);
  h.U64(segment.riffStart);
  h.U32(0);
  for (const auto& chunk : segment.chunks) {
    h.U32(static_cast<std::uint32_t>(chunk.dataOffset - segment.riffStart));
    h.U32(chunk.size);  // high bit clear: a key frame
  }
  return h.Take();
}

// Offsets from the "movi" type, as most AVI 1.0 readers expect them.
std::vector<std::uint8_t> LegacyIndex(const RiffSegment& first, std::string_view chunkId) {
  RiffBytes h;
  h.Chunk("idx1", static_cast<std::uint32_t>(LegacyIndexBytes(first.chunks.size()) - 8));
  for (const auto& chunk : first.chunks) {
    h.Tag(chunkId);
    h.U32(kAviifKeyFrame);
    h.U32(static_cast<std::uint32_t>(chunk.dataOffset - 8 - first.moviTag));
    h.U32(chunk.size);
  }
  return h.Take();
}

}  // namespace kinovia::avi
