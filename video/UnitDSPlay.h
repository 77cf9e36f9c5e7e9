#pragma once
// Framework 1: GStreamer (uridecodebin, videoconvert, appsink). Frame n is the picture shown at
// stream time n x 1.0001 x T, found by an accurate seek, or by pulling the next pictures when
// the clip is stepped forward.
#include <memory>

#include "video/UnitFrameSource.h"

namespace kinovia {

class TDSPlay : public TFrameSource {
 public:
  TDSPlay();
  ~TDSPlay() override;

 protected:
  std::optional<TStreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, TBitmap& frame) override;

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

}  // namespace kinovia
