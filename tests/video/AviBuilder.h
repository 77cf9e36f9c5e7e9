#pragma once
// Writes small uncompressed AVI files byte by byte, to reach index layouts the ffmpeg tool does
// not write for small clips (the OpenDML standard index) and dropped frames.
#include <cstdint>
#include <vector>

namespace kinovia::test {

struct AviRecipe {
  int width = 6;
  int height = 4;
  int frames = 5;
  bool openDml = true;
  bool idx1 = true;
  std::vector<int> dropped;  // frames stored as empty chunks
};

// Frame n of a built clip: every pixel (R, G, B) = (n * 40, 255 - n * 40, x * 10 + y).
std::vector<std::uint8_t> BuildAvi(const AviRecipe& recipe);

}  // namespace kinovia::test
