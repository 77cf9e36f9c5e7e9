#include "gui/ViewMapping.h"

#include <algorithm>
#include <cmath>

namespace kinovia {
namespace {

int Nearest(double x) { return int(std::lround(x)); }

int StepIn(int zoom) {
  if (zoom < 200) return 200;
  if (zoom >= 600) return 800;
  return (zoom / 100 + 1) * 100;
}

int StepOut(int zoom) {
  if (zoom <= 200) return 100;
  if (zoom > 800) return 800;
  if (zoom > 600) return 600;
  return (zoom + 99) / 100 * 100 - 100;
}

}  // namespace

int NextZoom(int zoom, bool zoomIn, bool ctrl) {
  int next = 0;
  if (ctrl)
    next = zoom + (zoomIn ? 10 : -10);
  else
    next = zoomIn ? StepIn(zoom) : StepOut(zoom);
  return std::clamp(next, ViewMapping::kZoomMin, ViewMapping::kZoomMax);
}

void ViewMapping::SetPicture(int width, int height) {
  pictureWidth_ = std::max(width, 0);
  pictureHeight_ = std::max(height, 0);
  Reset();
}

void ViewMapping::SetViewSize(int width, int height) {
  viewWidth_ = std::max(width, 0);
  viewHeight_ = std::max(height, 0);
}

void ViewMapping::Reset() {
  zoom_ = kZoomMin;
  source_ = {0, 0, pictureWidth_, pictureHeight_};
  panRestX_ = panRestY_ = 0;
}

PointD ViewMapping::ToFraction(PointI viewPixel) const {
  if (viewWidth_ <= 0 || viewHeight_ <= 0 || pictureWidth_ <= 0 || pictureHeight_ <= 0)
    return {0.0, 0.0};
  const double x = viewPixel.x;
  const double y = viewPixel.y;
  const double dw = double(viewWidth_) * zoom_ / 100.0;
  const double dh = double(viewHeight_) * zoom_ / 100.0;
  const double u = x / dw + double(source_.left) / pictureWidth_;
  const double v = y / dh + double(source_.top) / pictureHeight_;
  return {std::clamp(u, 0.0, 1.0), std::clamp(v, 0.0, 1.0)};
}

PointI ViewMapping::ToView(PointD fraction) const {
  if (pictureWidth_ <= 0 || pictureHeight_ <= 0) return {0, 0};
  const double u = fraction.x;
  const double v = fraction.y;
  const double dw = double(viewWidth_) * zoom_ / 100.0;
  const double dh = double(viewHeight_) * zoom_ / 100.0;
  return {Nearest((u - double(source_.left) / pictureWidth_) * dw),
          Nearest((v - double(source_.top) / pictureHeight_) * dh)};
}

bool ViewMapping::ZoomClick(int x, int y, bool zoomIn, bool ctrl) {
  const int oldZoom = zoom_;
  zoom_ = NextZoom(zoom_, zoomIn, ctrl);
  if (zoom_ == oldZoom) return false;
  CentreOn(x, y, oldZoom);
  return true;
}

bool ViewMapping::ZoomToRectangle(const IntRect& rubber) {
  const int w = std::abs(rubber.width);
  const int h = std::abs(rubber.height);
  if (w < kClickSize || h < kClickSize || viewWidth_ <= 0 || viewHeight_ <= 0) return false;
  const double factor = std::min(double(viewWidth_) / w, double(viewHeight_) / h);
  const int wanted = Nearest(zoom_ * factor / 10.0) * 10;
  const int oldZoom = zoom_;
  zoom_ = std::clamp(wanted, kZoomMin, kZoomMax);
  const int left = std::min(rubber.left, rubber.left + rubber.width);
  const int top = std::min(rubber.top, rubber.top + rubber.height);
  CentreOn(left + w / 2, top + h / 2, oldZoom);
  return true;
}

// Keeps the clicked point under the pointer as far as the picture's edges allow.
void ViewMapping::CentreOn(int x, int y, int oldZoom) {
  if (viewWidth_ > 0 && viewHeight_ > 0) {
    source_.left +=
        Nearest(pictureWidth_ * (x * 100.0 / (double(viewWidth_) * oldZoom) - 50.0 / zoom_));
    source_.top +=
        Nearest(pictureHeight_ * (y * 100.0 / (double(viewHeight_) * oldZoom) - 50.0 / zoom_));
  }
  source_.width = Nearest(pictureWidth_ * 100.0 / zoom_);
  source_.height = Nearest(pictureHeight_ * 100.0 / zoom_);
  panRestX_ = panRestY_ = 0;
  ClampSource();
}

void ViewMapping::PanBy(int dx, int dy) {
  if (viewWidth_ <= 0 || viewHeight_ <= 0) return;
  panRestX_ -= double(dx) * source_.width / viewWidth_;
  panRestY_ -= double(dy) * source_.height / viewHeight_;
  const int shiftX = int(std::trunc(panRestX_));
  const int shiftY = int(std::trunc(panRestY_));
  panRestX_ -= shiftX;
  panRestY_ -= shiftY;
  source_.left += shiftX;
  source_.top += shiftY;
  ClampSource();
}

void ViewMapping::ScrollTo(int left, int top) {
  source_.left = left;
  source_.top = top;
  ClampSource();
}

void ViewMapping::ClampSource() {
  source_.left = std::clamp(source_.left, 0, std::max(MaxScrollX(), 0));
  source_.top = std::clamp(source_.top, 0, std::max(MaxScrollY(), 0));
}

}  // namespace kinovia
