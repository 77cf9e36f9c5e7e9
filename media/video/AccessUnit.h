#pragma once
// What an H.264 or HEVC packet in start-code form holds, read from its units' headers alone: a
// container without presentation times (AVI) can then be listed and sought without decoding.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kinovia {

enum class PictureCodec { H264, Hevc };

struct AccessUnit {
  bool startCodes = false;  // the packet is a run of units behind start codes
  int pictures = 0;         // units that begin a new picture
  // An IDR picture: nothing before it is needed, nothing after it is shown before it.
  bool instantRefresh = false;
};

AccessUnit InspectAccessUnit(std::span<const std::uint8_t> packet, PictureCodec codec);

}  // namespace kinovia
