// The keyboard of the main window, in the order the keys are examined, and the clicks on the
// panel's fields.
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include "gui/MainWindow.h"
#include "gui/VideoView.h"

namespace kinovia {

namespace {

// The pointer's position over the picture, when it is over it.
std::optional<QPoint> PointerOnPicture(const VideoView& view) {
  const QWidget* canvas = view.Canvas();
  const QPoint at = canvas->mapFromGlobal(QCursor::pos());
  if (!canvas->isVisible() || !canvas->rect().contains(at)) return std::nullopt;
  return at;
}

bool IsArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    if (watched == zoomField_) onZoomFieldClicked();
    if (watched == frameField_) onFrameFieldClicked();
    if (watched == angleField_) onAngleFieldClicked();
    return false;
  }
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
      static_cast<QWidget*>(watched)->window() != this)
    return false;
  return KeyPressed(*static_cast<QKeyEvent*>(event));
}

bool MainWindow::KeyPressed(const QKeyEvent& key) {
  const auto pointer = PointerOnPicture(*view_);
  if (key.key() == Qt::Key_Space) {
    if (!pointer) return false;
    popup_->popup(QCursor::pos());
    return true;
  }
  if (IsPointingMode(Mode()) && ViewKey(key, pointer)) return true;
  if (TrackingKey(key, pointer)) return true;
  return SessionKey(key, pointer);
}

// Arrows move the pointer by one pixel (ten with Ctrl); with a view tool, Enter and Esc click.
bool MainWindow::ViewKey(const QKeyEvent& key, std::optional<QPoint> pointer) {
  if (IsArrow(key.key())) {
    const int step = key.modifiers() & Qt::ControlModifier ? 10 : 1;
    const QPoint shift(key.key() == Qt::Key_Left    ? -step
                       : key.key() == Qt::Key_Right ? step
                                                    : 0,
                       key.key() == Qt::Key_Up     ? -step
                       : key.key() == Qt::Key_Down ? step
                                                   : 0);
    QCursor::setPos(QCursor::pos() + shift);
    return true;
  }
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  const bool escape = key.key() == Qt::Key_Escape;
  if ((!enter && !escape) || !pointer) return false;
  if (view_->Tool() == ViewToolKind::Pan && enter && view_->Panning()) {
    view_->EndPan();
    return true;
  }
  if (view_->Tool() != ViewToolKind::Zoom) return false;
  const Qt::MouseButton button = enter ? Qt::LeftButton : Qt::RightButton;
  view_->ZoomPress(*pointer, button);
  view_->ZoomRelease(*pointer, button, key.modifiers());
  return true;
}

}  // namespace kinovia
