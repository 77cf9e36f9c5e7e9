// Feeds arbitrary bytes to the AVI layout reader and decodes the frames it finds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/video/AviFileSource.h"
#include "media/video/AviIndex.h"

namespace {

// Decoding is bounded too: a hostile header may claim a huge picture.
constexpr int kMaxDecodedPixels = 1 << 20;
constexpr std::size_t kMaxDecodedFrames = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kinovia::MemoryBytes file({data, size});
  const auto layout = kinovia::ReadAviLayout(file);
  if (!layout || layout->width * layout->height > kMaxDecodedPixels) return 0;
  kinovia::Bitmap frame;
  frame.Resize(layout->width, layout->height);
  std::vector<std::uint8_t> chunk;
  for (std::size_t n = 0; n < layout->frames.size() && n < kMaxDecodedFrames; ++n) {
    const auto& where = layout->frames[n];
    if (where.offset > size || where.size > size - where.offset) __builtin_trap();
    chunk.assign(data + where.offset, data + where.offset + where.size);
    kinovia::DecodeAviFrame(*layout, chunk, frame);
  }
  return 0;
}
