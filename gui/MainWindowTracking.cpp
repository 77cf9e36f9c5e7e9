// The tracking mode in the main window: its tool bar and menu items, the mouse and keys on the
// picture, its painting, and what entering and leaving the mode do.
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/TextFill.h"
#include "gui/MainWindow.h"
#include "gui/VideoView.h"
#include "gui/tracking/TrackingMode.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "media/video/VideoControl.h"
#include "resources/TxtTracking.h"

namespace kinovia {

void MainWindow::CreateTracking() {
  TrackingHost host;
  host.showMessage = [this](const Message& m) { return ShowMessage(m); };
  host.askValue = [this](ValueKind kind, const ValueContext& context, const std::string& initial) {
    return value_->Ask(MakeValueField(kind, context), initial);
  };
  host.showFrame = [this] { ShowCurrentFrame(); };
  host.progress = [this](int done, int total) {
    progress_->setVisible(total > 0);
    if (total == 0) return statusBar()->clearMessage();
    progress_->setRange(0, total);
    progress_->setValue(done);
    statusBar()->showMessage(
        QString::fromStdString(FillNumbers(txt::TrackProgress, {done, total})));
  };
  tracking_ = new TrackingMode(*video_, *view_, *session_, std::move(host), this);
  addToolBarBreak();
  trackingBar_ = addToolBar(QString());
  trackingBar_->setObjectName("TrackingBar");
  for (QAction* action : tracking_->ToolBarActions()) trackingBar_->addAction(action);
  trackingBar_->hide();
  tracking_->AddMeasuresItems(menuMedidas_);
  tracking_->AddPopupItems(popup_);
  tracking_->ShowMenuItems(false);
  session_->Subscribe(SessionEvent::MarksPerFrameChanged,
                      [this](const Session&) { tracking_->ObjectCountChanged(); });
  // The canvas's own events: a double click finishes a polygon.
  auto forward = [this](QMouseEvent* event) {
    if (Mode() != WorkingMode::Tracking || view_->Tool() != ViewToolKind::None) return;
    if (event->type() == QEvent::MouseMove)
      tracking_->Move(event->position().toPoint());
    else
      tracking_->Press(event->position().toPoint(), event->button(),
                       event->type() == QEvent::MouseButtonDblClick);
  };
  connect(view_->Canvas(), &VideoCanvas::pressed, this, forward);
  connect(view_->Canvas(), &VideoCanvas::moved, this, forward);
}

void MainWindow::EnterTracking() {
  const Options& o = *options_;
  tracking_->Enter(o.Value(IntOption::TrackingRadius), o.Value(IntOption::ShapeNumber),
                   o.Flag(BoolOption::ShowRadiusSearch));
  trackingBar_->show();
}

void MainWindow::LeaveTracking() {
  tracking_->Leave();
  trackingBar_->hide();
  view_->Canvas()->setToolTip(QString());
}

void MainWindow::PaintTracking(QPainter& painter) const {
  if (Mode() == WorkingMode::Tracking) tracking_->Paint(painter);
}

bool MainWindow::TrackingKey(const QKeyEvent& key, std::optional<QPoint> pointer) {
  return Mode() == WorkingMode::Tracking && tracking_->Key(key, pointer);
}

bool MainWindow::StopTracking() { return tracking_ && tracking_->StopRun(); }

}  // namespace kinovia
