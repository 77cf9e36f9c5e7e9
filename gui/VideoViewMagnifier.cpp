#include "gui/VideoViewMagnifier.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace kinovia {

namespace {
constexpr int kSide = 160;
constexpr int kWheelStep = 50;
}  // namespace

Magnifier::Magnifier(QWidget* source, QWidget* parent) : QWidget(parent), source_(source) {
  resize(kSide, kSide);
  setCursor(Qt::SizeAllCursor);
  hide();
}

void Magnifier::SetMagnification(int percent) {
  magnification_ = std::clamp(percent, kMagnificationMin, kMagnificationMax);
  update();
}

void Magnifier::SetCentre(QPoint centre) {
  centre_ = centre;
  if (isVisible()) update();
}

QRect Magnifier::SourceRegion() const {
  const int w = std::max(1, width() * 100 / magnification_);
  const int h = std::max(1, height() * 100 / magnification_);
  return {centre_.x() - w / 2, centre_.y() - h / 2, w, h};
}

void Magnifier::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const QRect region = SourceRegion();
  // Only the part inside the source can be rendered; the rest stays black.
  const QRect inside = region.intersected(source_->rect());
  if (!inside.isEmpty()) {
    const QPixmap pixels = source_->grab(inside);
    const double scale = magnification_ / 100.0;
    const QRectF target((inside.left() - region.left()) * scale,
                        (inside.top() - region.top()) * scale, inside.width() * scale,
                        inside.height() * scale);
    painter.drawPixmap(target, pixels, QRectF(pixels.rect()));
  }
  painter.setPen(QPen(Qt::red, 1));
  painter.drawLine(width() / 2, 0, width() / 2, height());
  painter.drawLine(0, height() / 2, width(), height() / 2);
  painter.setPen(QPen(Qt::darkGray, 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void Magnifier::mousePressEvent(QMouseEvent* event) { dragOffset_ = event->position().toPoint(); }

// Dragged by the mouse, and always kept inside its window.
void Magnifier::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !parentWidget()) return;
  QPoint topLeft = mapToParent(event->position().toPoint() - dragOffset_);
  const QSize room = parentWidget()->size() - size();
  topLeft.setX(std::clamp(topLeft.x(), 0, std::max(room.width(), 0)));
  topLeft.setY(std::clamp(topLeft.y(), 0, std::max(room.height(), 0)));
  move(topLeft);
}

void Magnifier::wheelEvent(QWheelEvent* event) {
  SetMagnification(magnification_ + (event->angleDelta().y() > 0 ? kWheelStep : -kWheelStep));
  event->accept();
}

}  // namespace kinovia
