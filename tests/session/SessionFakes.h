#pragma once
// Small stand-ins for the video control and the video view, so that the session can be driven
// the way the window drives it: clicks in view pixels, a clip that moves from frame to frame.
#include <algorithm>
#include <cmath>
#include <map>

#include "session/UnitData.h"

namespace kinovia::test {

class FakeVideo : public IVideoFacts {
 public:
  int frame = 0;
  int frameCount = 100;
  int width = 640;
  int height = 480;
  TWorkMode mode = TWorkMode::RepereFixe;
  std::map<int, int> timeShift;  // source frame -> shift in frames

  int CurrentSourceFrame() const override { return frame; }
  int CurrentMontageIndex() const override { return frame; }
  int FrameCount() const override { return frameCount; }
  int PictureWidth() const override { return width; }
  int PictureHeight() const override { return height; }
  TWorkMode WorkMode() const override { return mode; }
  int FrameTimeIndex(int sourceFrame) const override {
    const auto it = timeShift.find(sourceFrame);
    return sourceFrame + (it == timeShift.end() ? 0 : it->second);
  }
  void GoToMontageIndex(int n) override { frame = std::clamp(n, 0, frameCount - 1); }
  void GoToSourceFrame(int n) override { frame = std::clamp(n, 0, frameCount - 1); }
};

// The mapping of a 640 x 480 view at a zoom in percent, with the shown part starting at (ox, oy).
class FakeView : public IViewMapping {
 public:
  int viewWidth = 640;
  int viewHeight = 480;
  int zoom = 100;
  double ox = 0.0;
  double oy = 0.0;

  TPointD ToFraction(TPointI p) const override {
    return {std::clamp(p.x / Dw() + ox, 0.0, 1.0), std::clamp(p.y / Dh() + oy, 0.0, 1.0)};
  }
  TPointI ToView(TPointD f) const override {
    return {static_cast<int>(std::lround((f.x - ox) * Dw())),
            static_cast<int>(std::lround((f.y - oy) * Dh()))};
  }
  int ViewWidth() const override { return viewWidth; }
  int ViewHeight() const override { return viewHeight; }

 private:
  double Dw() const { return viewWidth * zoom / 100.0; }
  double Dh() const { return viewHeight * zoom / 100.0; }
};

// A session on a fake 640 x 480 clip of 100 frames, in the fixed-frame mode with the mark tool.
struct SessionRig {
  FakeVideo video;
  FakeView view;
  TData data{video, view, TSessionOptions{}};

  void Click(int x, int y, TMouseButton button = TMouseButton::Left) {
    data.MousePress(button, {x, y});
    data.MouseRelease(button, {x, y});
  }
  void Drag(TPointI from, TPointI to) {
    data.MousePress(TMouseButton::Left, from);
    data.MouseMove(to);
    data.MouseRelease(TMouseButton::Left, to);
  }
};

}  // namespace kinovia::test
