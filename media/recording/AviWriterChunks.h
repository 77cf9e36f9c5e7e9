#pragma once
// The RIFF chunks of the AVI writer: the headers, the OpenDML indexes (one standard index a
// RIFF part, a super index in the headers) and the AVI 1.0 idx1 index of the first part.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "media/recording/AviWriter.h"

namespace kinovia::avi {

// Readers find every part through the super index, whose room is reserved in the headers.
inline constexpr std::size_t kMaxSegments = 256;

struct ChunkEntry {
  std::uint64_t dataOffset;  // of the frame's bytes, after the chunk header
  std::uint32_t size;
};

// One RIFF part: "RIFF AVI " with the headers for the first, "RIFF AVIX" for the others.
struct RiffSegment {
  std::uint64_t riffStart = 0;
  std::uint64_t moviTag = 0;   // offset of the "movi" type of its list
  std::uint64_t moviEnd = 0;   // after its standard index, which closes the list
  std::uint64_t riffEnd = 0;   // after the idx1 index in the first part
  std::uint64_t ixOffset = 0;  // of its standard index chunk
  std::vector<ChunkEntry> chunks;
};

std::string_view ChunkId(AviCodec codec);

// Bytes of the part's standard index and, for the first part, of the idx1 index after it.
std::uint64_t StandardIndexBytes(std::size_t entries);
std::uint64_t LegacyIndexBytes(std::size_t entries);

// The first part's headers up to and including its "movi" type; the same length whatever
// the counts, so Finish rewrites them in place.
std::vector<std::uint8_t> FileHeaders(const AviFormat& format,
                                      std::span<const RiffSegment> segments,
                                      std::uint32_t largestFrame);
// "RIFF" "AVIX" "LIST" "movi", sizes patched when the part is closed.
std::vector<std::uint8_t> SegmentStart();
std::vector<std::uint8_t> ChunkHeader(std::string_view fourcc, std::uint32_t size);
std::vector<std::uint8_t> StandardIndex(const RiffSegment& segment, std::string_view chunkId);
std::vector<std::uint8_t> LegacyIndex(const RiffSegment& first, std::string_view chunkId);
std::array<std::uint8_t, 4> Le32(std::uint32_t v);

std::uint32_t FrameBufferBytes(const AviFormat& format, std::uint32_t largestFrame);
std::size_t DibRowBytes(std::int32_t width);

}  // namespace kinovia::avi
