#include "gui/VideoView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "gui/VideoViewMagnifier.h"

namespace kinovia {

namespace {
// One notch of the wheel moves a tenth of the shown part of the picture.
constexpr int kWheelFraction = 10;
}  // namespace

VideoCanvas::VideoCanvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  emit painting(painter);
}

void VideoCanvas::mousePressEvent(QMouseEvent* event) { emit pressed(event); }
void VideoCanvas::mouseMoveEvent(QMouseEvent* event) { emit moved(event); }
void VideoCanvas::mouseReleaseEvent(QMouseEvent* event) { emit released(event); }

VideoView::VideoView(QWidget* parent) : QWidget(parent) {
  canvas_ = new VideoCanvas(this);
  scrollX_ = new QScrollBar(Qt::Horizontal, this);
  scrollY_ = new QScrollBar(Qt::Vertical, this);
  scrollX_->hide();
  scrollY_->hide();
  magnifier_ = new Magnifier(canvas_, this);
  connect(canvas_, &VideoCanvas::pressed, this, &VideoView::onCanvasPressed);
  connect(canvas_, &VideoCanvas::moved, this, &VideoView::onCanvasMoved);
  connect(canvas_, &VideoCanvas::released, this, &VideoView::onCanvasReleased);
  connect(canvas_, &VideoCanvas::painting, this, &VideoView::onCanvasPainting);
  auto scrolled = [this] {
    if (syncing_) return;
    mapping_.ScrollTo(scrollX_->value(), scrollY_->value());
    AfterMappingChange(mapping_.Zoom());
  };
  connect(scrollX_, &QScrollBar::valueChanged, this, scrolled);
  connect(scrollY_, &QScrollBar::valueChanged, this, scrolled);
  setMinimumSize(64, 48);
}

void VideoView::SetFrame(const QImage& frame) {
  const bool newSize = frame.size() != frame_.size();
  frame_ = frame;
  if (newSize) {
    mapping_.SetPicture(frame_.width(), frame_.height());
    Layout();
    AfterMappingChange(0);
  }
  canvas_->update();
}

void VideoView::ClearFrame() {
  frame_ = QImage();
  mapping_.SetPicture(0, 0);
  Layout();
  canvas_->update();
}

void VideoView::SetTool(ViewToolKind tool) {
  if (tool == tool_) return;
  tool_ = tool;
  rubber_.reset();
  rubberStart_.reset();
  panFrom_.reset();
  canvas_->update();
}

void VideoView::ResetZoom() {
  const int oldZoom = mapping_.Zoom();
  mapping_.Reset();
  AfterMappingChange(oldZoom);
}

// The canvas takes the largest size of the picture's proportions that fits beside the scroll bars.
void VideoView::Layout() {
  const bool scrolling = mapping_.Zoom() > ViewMapping::kZoomMin;
  const int bar = scrolling ? scrollX_->sizeHint().height() : 0;
  const QSize room(std::max(width() - bar, 1), std::max(height() - bar, 1));
  QSize size = room;
  if (!frame_.isNull()) size = frame_.size().scaled(room, Qt::KeepAspectRatio);
  const QPoint at((room.width() - size.width()) / 2, (room.height() - size.height()) / 2);
  canvas_->setGeometry(QRect(at, size));
  mapping_.SetViewSize(size.width(), size.height());
  scrollX_->setGeometry(at.x(), at.y() + size.height(), size.width(), bar);
  scrollY_->setGeometry(at.x() + size.width(), at.y(), bar, size.height());
  scrollX_->setVisible(scrolling);
  scrollY_->setVisible(scrolling);
  SyncScrollBars();
}

void VideoView::SyncScrollBars() {
  syncing_ = true;
  scrollX_->setRange(0, std::max(mapping_.MaxScrollX(), 0));
  scrollY_->setRange(0, std::max(mapping_.MaxScrollY(), 0));
  scrollX_->setPageStep(std::max(mapping_.Source().width, 1));
  scrollY_->setPageStep(std::max(mapping_.Source().height, 1));
  scrollX_->setValue(mapping_.Source().left);
  scrollY_->setValue(mapping_.Source().top);
  syncing_ = false;
}

void VideoView::AfterMappingChange(int oldZoom) {
  const bool barsChange =
      (oldZoom > ViewMapping::kZoomMin) != (mapping_.Zoom() > ViewMapping::kZoomMin);
  if (barsChange)
    Layout();
  else
    SyncScrollBars();
  if (oldZoom != mapping_.Zoom()) emit zoomChanged(mapping_.Zoom());
  emit mappingChanged();
  canvas_->update();
}

void VideoView::resizeEvent(QResizeEvent*) {
  Layout();
  emit mappingChanged();
}

void VideoView::wheelEvent(QWheelEvent* event) {
  if (mapping_.Zoom() <= ViewMapping::kZoomMin) return;
  const int notches = event->angleDelta().y() / 120;
  const auto& s = mapping_.Source();
  const bool sideways = event->modifiers() & Qt::ShiftModifier;
  const int stepX = sideways ? -notches * s.width / kWheelFraction : 0;
  const int stepY = sideways ? 0 : -notches * s.height / kWheelFraction;
  mapping_.ScrollTo(s.left + stepX, s.top + stepY);
  AfterMappingChange(mapping_.Zoom());
  event->accept();
}

void VideoView::ZoomPress(QPoint at, Qt::MouseButton button) {
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  rubberStart_ = at;
  rubber_ = QRect(at, QSize(0, 0));
}

void VideoView::ZoomRelease(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  const QPoint start = rubberStart_.value_or(at);
  rubberStart_.reset();
  rubber_.reset();
  const int oldZoom = mapping_.Zoom();
  const IntRect rubber{start.x(), start.y(), at.x() - start.x(), at.y() - start.y()};
  if (button != Qt::LeftButton || !mapping_.ZoomToRectangle(rubber))
    mapping_.ZoomClick(at.x(), at.y(), button == Qt::LeftButton, modifiers & Qt::ControlModifier);
  AfterMappingChange(oldZoom);
}

void VideoView::onCanvasPressed(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  switch (tool_) {
    case ViewToolKind::Zoom:
      ZoomPress(at, event->button());
      break;
    case ViewToolKind::Pan:
      if (event->button() == Qt::LeftButton) panFrom_ = at;
      break;
    case ViewToolKind::None:
      emit picturePressed(at, event->button(), event->modifiers());
      break;
  }
}

void VideoView::onCanvasMoved(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  magnifier_->SetCentre(at);
  if (tool_ == ViewToolKind::Zoom && rubberStart_) {
    rubber_ = QRect(*rubberStart_, at).normalized();
    canvas_->update();
  } else if (tool_ == ViewToolKind::Pan && panFrom_) {
    mapping_.PanBy(at.x() - panFrom_->x(), at.y() - panFrom_->y());
    panFrom_ = at;
    AfterMappingChange(mapping_.Zoom());
  } else if (tool_ == ViewToolKind::None) {
    emit pictureMoved(at, event->buttons());
  }
}

void VideoView::onCanvasReleased(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (tool_ == ViewToolKind::Zoom && rubberStart_)
    ZoomRelease(at, event->button(), event->modifiers());
  else if (tool_ == ViewToolKind::Pan)
    panFrom_.reset();
  else if (tool_ == ViewToolKind::None)
    emit pictureReleased(at, event->button());
}

void VideoView::SetPictureHidden(bool hidden) {
  pictureHidden_ = hidden;
  canvas_->update();
}

void VideoView::onCanvasPainting(QPainter& painter) {
  painter.fillRect(canvas_->rect(), Qt::black);
  if (!frame_.isNull() && pictureHidden_) {
    painter.fillRect(canvas_->rect(), Qt::white);
  } else if (!frame_.isNull()) {
    const auto& s = mapping_.Source();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, mapping_.Zoom() == 100);
    painter.drawImage(QRect(QPoint(0, 0), canvas_->size()), frame_,
                      QRect(s.left, s.top, s.width, s.height));
  }
  if (overlay_) overlay_(painter);
  if (rubber_) {
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(*rubber_);
  }
}

}  // namespace kinovia
