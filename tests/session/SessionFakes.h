#pragma once
// Small stand-ins for the video control and the video view, so that the session can be driven
// the way the window drives it: clicks in view pixels, a clip that moves from frame to frame.
#include <algorithm>
#include <cmath>
#include <map>

#include "logic/session/Session.h"

namespace kinovia::test {

class FakeVideo : public IVideoFacts {
 public:
  int frame = 0;
  int frameCount = 100;
  int width = 640;
  int height = 480;
  WorkingMode mode = WorkingMode::FixedAxes;
  std::map<int, int> timeShift;  // source frame -> shift in frames

  int CurrentSourceFrame() const override { return frame; }
  int CurrentMontageIndex() const override { return frame; }
  int FrameCount() const override { return frameCount; }
  int PictureWidth() const override { return width; }
  int PictureHeight() const override { return height; }
  WorkingMode WorkMode() const override { return mode; }
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

  PointD ToFraction(PointI p) const override {
    return {std::clamp(p.x / Dw() + ox, 0.0, 1.0), std::clamp(p.y / Dh() + oy, 0.0, 1.0)};
  }
  PointI ToView(PointD f) const override {
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
  Session data{video, view, SessionOptions{}};

  void Click(int x, int y, MouseButton button = MouseButton::Left) {
    data.MousePress(button, {x, y});
    data.MouseRelease(button, {x, y});
  }
  void Drag(PointI from, PointI to) {
    data.MousePress(MouseButton::Left, from);
    data.MouseMove(to);
    data.MouseRelease(MouseButton::Left, to);
  }
};

}  // namespace kinovia::test
