#pragma once
// Framework 2: FFmpeg's libraries. The frames are listed once at opening by their presentation
// times, so frame n is the n-th picture shown whatever the codec's reordering (B-frames), the
// container's declared count or a variable frame rate; going to a frame decodes from the
// keyframe before it until exactly that picture comes out.
#include <memory>
#include <string>
#include <vector>

#include "video/UnitFrameSource.h"

namespace kinovia {

// How the frame count of the open clip was found.
enum class TFrameCounting {
  Packets,   // one compressed packet per picture, each with its presentation time
  Decoding,  // the container's times were missing, repeated or wrong: every frame was decoded
};

class TFFMpegPlay : public TFrameSource {
 public:
  TFFMpegPlay();
  ~TFFMpegPlay() override;

  // Lines of the last failure to open or to decode, as the video control shows them; empty after
  // a success.
  const std::vector<std::string>& ErrorLines() const { return errorLines_; }
  // The comment stored in the file's metadata; empty when there is none or it cannot be read.
  static std::string Comment(const std::string& fileName);
  TFrameCounting Counting() const { return counting_; }

 protected:
  std::optional<TStreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, TBitmap& frame) override;

 private:
  struct TState;
  std::unique_ptr<TState> state_;
  std::vector<std::string> errorLines_;
  TFrameCounting counting_ = TFrameCounting::Packets;
};

}  // namespace kinovia
