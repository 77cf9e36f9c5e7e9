// The capture mode in the main window: its tool bar, its preview in place of the video view, the
// status line of its clock, and the clip it saved opened for study.
#include <QApplication>
#include <QFileDialog>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/capture/CaptureMode.h"
#include "resources/TxtCapture.h"

namespace kinovia {

void MainWindow::CreateCapture() {
  CaptureHost host;
  host.showMessage = [this](const Message& m) { ShowMessage(m); };
  host.askSaveName = [this](const std::string& folder) -> std::optional<std::string> {
    const QString proposed = QString::fromStdString(folder) + "/Capture";
    const QString path = QFileDialog::getSaveFileName(this, QTxt(txt::CaptureSaveTitle), proposed,
                                                      QTxt(txt::CaptureVideoFilter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  };
  host.lastFolder = [this] { return recent_.Directory(); };
  host.rememberFolder = [this](const std::string& folder) { recent_.SetDirectory(folder); };
  host.status = [this](const QString& text) {
    if (text.isEmpty()) return statusBar()->clearMessage();
    statusBar()->showMessage(text);
  };
  host.beep = [] { QApplication::beep(); };
  capture_ = new CaptureMode(std::move(host), this);
  if (auto* column = qobject_cast<QVBoxLayout*>(centralWidget()->layout()))
    column->insertWidget(1, capture_->Preview(), 1);
  captureBar_ = addToolBar(QString());
  captureBar_->setObjectName("CaptureBar");
  for (QAction* action : capture_->ToolBarActions()) captureBar_->addAction(action);
  captureBar_->hide();
}

bool MainWindow::EnterCapture() {
  if (!capture_->Enter()) return false;
  captureBar_->show();
  return true;
}

void MainWindow::LeaveCapture() {
  capture_->Leave();
  captureBar_->hide();
}

}  // namespace kinovia
