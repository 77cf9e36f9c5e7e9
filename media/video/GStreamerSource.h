#pragma once
// Framework 1: GStreamer (uridecodebin, videoconvert, appsink). Frame n is the picture shown at
// stream time n x 1.0001 x T, found by an accurate seek, or by pulling the next pictures when
// the clip is stepped forward.
#include <memory>

#include "media/video/FFmpegSource.h"
#include "media/video/FrameSource.h"

namespace kinovia {

class GStreamerSource : public FrameSource {
 public:
  GStreamerSource();
  ~GStreamerSource() override;

 protected:
  std::optional<StreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, Bitmap& frame) override;

 private:
  bool AgreesWith(FFmpegSource& reference, const StreamFacts& facts);

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kinovia
