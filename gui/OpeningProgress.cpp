#include "gui/OpeningProgress.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "gui/QtText.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

namespace kinovia {
namespace {

constexpr qint64 kShowAfterMs = 500;
constexpr int kSteps = 1000;

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

OpeningProgress::OpeningProgress(QMainWindow& window) : QWidget(&window), window_(window) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QTxt(txt::VideoOpening), this));
  bar_ = new QProgressBar(this);
  bar_->setRange(0, kSteps);
  bar_->setObjectName("openingProgress");
  layout->addWidget(bar_, 1);
  cancel_ = new QPushButton(QTxt(txt::ButtonCancelar), this);
  cancel_->setObjectName("openingCancel");
  layout->addWidget(cancel_);
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  hide();
}

void OpeningProgress::Start() {
  clock_.start();
  running_ = true;
  cancelled_ = false;
}

bool OpeningProgress::Progress(double fraction) {
  if (!running_ || clock_.elapsed() < kShowAfterMs) return !cancelled_;
  if (isHidden()) {
    window_.statusBar()->addWidget(this, 1);
    window_.statusBar()->show();
    show();
    qApp->installEventFilter(this);
  }
  bar_->setValue(static_cast<int>(fraction * kSteps));
  QApplication::processEvents();
  return !cancelled_;
}

void OpeningProgress::Finish() {
  running_ = false;
  if (isHidden()) return;
  qApp->removeEventFilter(this);
  window_.statusBar()->removeWidget(this);
  window_.statusBar()->hide();
  hide();
}

// Only the cancel button and the Escape key reach the program while the clip opens.
bool OpeningProgress::eventFilter(QObject* watched, QEvent* event) {
  // Input reaches the platform window first, which hands it to the widget concerned: the widget
  // decides.
  if (!IsUserInput(event->type()) || watched == cancel_ || watched->isWindowType()) return false;
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    cancelled_ = true;
  return true;
}

}  // namespace kinovia
