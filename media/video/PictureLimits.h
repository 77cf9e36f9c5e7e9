#pragma once
// The caps every frame source holds a clip's claims to before allocating anything for them: a
// hostile header must neither make the program allocate gigabytes nor wait for frames that are
// not in the file.
#include <cstdint>

namespace kinovia {

inline constexpr int kMaxPictureSide = 8192;

// True when a picture of the claimed size may be allocated.
constexpr bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// True when a file of `fileBytes` can hold `frames` frames: each takes at least a byte of it.
constexpr bool FrameCountAllowed(std::int64_t frames, std::uint64_t fileBytes) {
  return frames > 0 && static_cast<std::uint64_t>(frames) <= fileBytes;
}

// True when one uncompressed frame of `frameBytes` fits in the file at all.
constexpr bool RawFrameFits(std::uint64_t frameBytes, std::uint64_t fileBytes) {
  return frameBytes > 0 && frameBytes <= fileBytes;
}

}  // namespace kinovia
