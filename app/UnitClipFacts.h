#pragma once
// The clip's timeline as the session asks for it, over the frame source the window opened.
#include <functional>

#include "session/UnitSessionPorts.h"

namespace kinovia {

class TFrameSource;

class TClipFacts : public IVideoFacts {
 public:
  // `goTo` shows a frame (clamped) and repaints; `mode` answers the window's working mode.
  TClipFacts(std::function<const TFrameSource*()> source, std::function<TWorkMode()> mode,
             std::function<void(int)> goTo)
      : source_(std::move(source)), mode_(std::move(mode)), goTo_(std::move(goTo)) {}

  int CurrentSourceFrame() const override;
  int CurrentMontageIndex() const override { return CurrentSourceFrame(); }
  int FrameCount() const override;
  int PictureWidth() const override;
  int PictureHeight() const override;
  TWorkMode WorkMode() const override { return mode_(); }
  int FrameTimeIndex(int sourceFrame) const override { return sourceFrame; }
  void GoToMontageIndex(int n) override { goTo_(n); }
  void GoToSourceFrame(int sourceFrame) override { goTo_(sourceFrame); }

 private:
  std::function<const TFrameSource*()> source_;
  std::function<TWorkMode()> mode_;
  std::function<void(int)> goTo_;
};

}  // namespace kinovia
