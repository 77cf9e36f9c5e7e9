#pragma once
// Framework 0: our own AVI reader. Frames are found through the file's index, so frame n is
// always the n-th chunk of the video stream; uncompressed DIBs and Motion-JPEG are decoded.
#include <memory>

#include "media/video/AviIndex.h"
#include "media/video/FrameSource.h"

namespace kinovia {

class AviFileSource : public FrameSource {
 public:
  AviFileSource();
  ~AviFileSource() override;

  // How the open clip's frames were listed (valid while open).
  AviIndexKind IndexKind() const { return layout_.indexKind; }

 protected:
  std::optional<StreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  // An AVI asks for no display rotation: `turn` is always 0.
  bool DecodeFrame(std::int32_t n, int turn, Bitmap& frame) override;

 private:
  std::unique_ptr<ByteSource> file_;
  AviLayout layout_;
  std::vector<std::uint8_t> chunk_;
};

// Decodes an AVI frame's bytes as the layout says into `frame` (already at the layout's size).
// Shared by the reader and its fuzz target.
bool DecodeAviFrame(const AviLayout& layout, const std::vector<std::uint8_t>& data, Bitmap& frame);

}  // namespace kinovia
