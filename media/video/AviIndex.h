#pragma once
// Reads the layout of an AVI (RIFF) file: the first video stream's format, rate and where each
// of its frames lies. The file is untrusted: every size and offset is bounded by the file.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/video/PictureLimits.h"

namespace kinovia {

// Random access to the bytes of a file or of a buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // False unless all of `out` could be filled from `offset`.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class MemoryBytes : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

enum class AviStreamCodec { Rgb24, Rgb32, Mjpeg };

// Where the frames were listed: the OpenDML indexes, the AVI 1.0 index, or, without either, a
// walk through the chunks of the "movi" lists.
enum class AviIndexKind { OpenDml, Idx1, Scan };

struct AviChunk {
  std::uint64_t offset = 0;  // of the frame's data
  std::uint32_t size = 0;
};

struct AviLayout {
  int width = 0;
  int height = 0;
  bool bottomUp = true;
  AviStreamCodec codec = AviStreamCodec::Rgb24;
  std::uint32_t rate = 0;
  std::uint32_t scale = 0;
  AviIndexKind indexKind = AviIndexKind::Scan;
  // One entry per frame; a frame stored empty (a dropped frame) repeats the frame before it.
  std::vector<AviChunk> frames;
};

// nullopt when the file is not an AVI with a video stream we can decode.
std::optional<AviLayout> ReadAviLayout(const ByteSource& file);

}  // namespace kinovia
