#pragma once
// What an H.264 or HEVC packet holds, read from its units' headers alone: a container without
// presentation times (AVI) can then be listed and sought without decoding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kinovia {

enum class PictureCodec { H264, Hevc };

struct AccessUnit {
  bool wellFormed = false;  // the packet is a run of units, as the stream stores them
  int pictures = 0;         // units that begin a new picture
  // An IDR picture: nothing before it is needed, nothing after it is shown before it.
  bool instantRefresh = false;
};

// How a stream stores its units, from its configuration record (the codec's extradata): behind
// start codes (0), or each behind its length in 1 to 4 bytes, as QuickTime stores them and a copy
// into another container keeps them; nullopt when the record cannot be read.
std::optional<int> UnitLengthBytes(std::span<const std::uint8_t> record, PictureCodec codec);

// `lengthBytes` as UnitLengthBytes gives it.
AccessUnit InspectAccessUnit(std::span<const std::uint8_t> packet, PictureCodec codec,
                             int lengthBytes);

}  // namespace kinovia
