#pragma once
// Zoom and pan of the picture and the conversion between view pixels and frame fractions; kept
// apart from the widget so the arithmetic is checked without a window.
#include "logic/session/SessionPorts.h"

namespace kinovia {

struct IntRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const IntRect&) const = default;
};

class ViewMapping : public IViewMapping {
 public:
  static constexpr int kZoomMin = 100;
  static constexpr int kZoomMax = 800;
  // A rubber rectangle smaller than this on either side is a click.
  static constexpr int kClickSize = 10;

  // A new picture: the whole of it at 100 %.
  void SetPicture(int width, int height);
  void SetViewSize(int width, int height);
  // Back to 100 % and the whole picture (new clip, new mode).
  void Reset();

  int Zoom() const { return zoom_; }
  const IntRect& Source() const { return source_; }
  int PictureWidth() const { return pictureWidth_; }
  int PictureHeight() const { return pictureHeight_; }
  int ViewWidth() const override { return viewWidth_; }
  int ViewHeight() const override { return viewHeight_; }

  // View pixels to frame fractions, each clamped to [0, 1].
  PointD ToFraction(PointI viewPixel) const override;
  // Frame fractions to view pixels, the nearest integers.
  PointI ToView(PointD fraction) const override;

  // A click of the zoom tool at view pixel (x, y); false when the zoom stays as it was.
  bool ZoomClick(int x, int y, bool zoomIn, bool ctrl);
  // The rubber rectangle of the zoom tool (view pixels, any corner order); false when it is too
  // small and counts as a click.
  bool ZoomToRectangle(const IntRect& rubber);
  // A drag of the pan tool by (dx, dy) view pixels.
  void PanBy(int dx, int dy);
  // The scroll bars: the source rectangle's left and top in picture pixels.
  void ScrollTo(int left, int top);
  int MaxScrollX() const { return pictureWidth_ - source_.width; }
  int MaxScrollY() const { return pictureHeight_ - source_.height; }

 private:
  void CentreOn(int x, int y, int oldZoom);
  void ClampSource();

  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  int viewWidth_ = 0;
  int viewHeight_ = 0;
  int zoom_ = kZoomMin;
  IntRect source_;
  // Sub-pixel remainder of pan drags, so slow drags at high zoom still move the picture.
  double panRestX_ = 0;
  double panRestY_ = 0;
};

// The zoom after a click: the step rule, or +-10 with Ctrl, clamped to [100, 800].
int NextZoom(int zoom, bool zoomIn, bool ctrl);

}  // namespace kinovia
