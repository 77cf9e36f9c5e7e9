#pragma once
// Framework 0: our own AVI reader. Frames are found through the file's index, so frame n is
// always the n-th chunk of the video stream; uncompressed DIBs and Motion-JPEG are decoded.
#include <memory>

#include "video/UnitAviIndex.h"
#include "video/UnitFrameSource.h"

namespace kinovia {

class TVfwPlay : public TFrameSource {
 public:
  TVfwPlay();
  ~TVfwPlay() override;

  // How the open clip's frames were listed (valid while open).
  TAviIndexKind IndexKind() const { return layout_.indexKind; }

 protected:
  std::optional<TStreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, TBitmap& frame) override;

 private:
  std::unique_ptr<TByteSource> file_;
  TAviLayout layout_;
  std::vector<std::uint8_t> chunk_;
};

// Decodes an AVI frame's bytes as the layout says into `frame` (already at the layout's size).
// Shared by the reader and its fuzz target.
bool DecodeAviFrame(const TAviLayout& layout, const std::vector<std::uint8_t>& data,
                    TBitmap& frame);

}  // namespace kinovia
