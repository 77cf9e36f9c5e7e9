// Saving the work into a work file and opening one again.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "logic/session/Recovery.h"
#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"

namespace kinovia {

namespace {

// The save command's dialogs, as the main window shows them.
class WindowSaveUi : public SaveCommandUi {
 public:
  WindowSaveUi(MainWindow& window, RecentFiles& recent) : window_(window), recent_(recent) {}

  std::optional<std::string> AskSaveName() override {
    const QString path = QFileDialog::getSaveFileName(&window_, QTxt(txt::MenuGuardar),
                                                      QString::fromStdString(recent_.Directory()),
                                                      QTxt(txt::WorkFilter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  }
  int ShowMessage(const Message& message) override { return window_.ShowMessage(message); }
  void RememberFolder(const std::string& folder) override { recent_.SetDirectory(folder); }

 private:
  MainWindow& window_;
  RecentFiles& recent_;
};

}  // namespace

WorkFileContent MainWindow::CurrentWork() const {
  WorkFileContent work;
  if (ClipOpen()) {
    work = CaptureSession(*session_);
    work.videoFileName = video_->FileName();
    work.imageNumber = video_->CurrentSourceFrame();
    work.montage = CaptureMontage(*montage_);
  }
  return work;
}

bool MainWindow::SaveWork() {
  const WorkFileContent work = CurrentWork();
  WindowSaveUi ui(*this, recent_);
  const auto saved = SaveWorkCommand(ClipOpen(), work, ui);
  if (saved) recent_.Add(*saved);
  if (saved) recovery_->Discard(work);
  return saved.has_value();
}

bool MainWindow::OpenWork(const QString& path) {
  if (!ConfirmFileChange()) return false;
  auto opened = OpenWorkFile(path.toStdString());
  if (!opened) {
    ShowMessage(opened.Failure());
    return false;
  }
  recent_.SetDirectory(QFileInfo(path).absolutePath().toStdString());
  if (!ApplyOpenedWork(std::move(opened).Value(), path.toStdString())) return false;
  recent_.Add(QFileInfo(path).absoluteFilePath().toStdString());
  // The work as opened is the saved one: nothing to recover yet.
  DiscardRecovery();
  return true;
}

bool MainWindow::ApplyOpenedWork(OpenedWork result, const std::string& path) {
  if (!LoadClip(QString::fromStdString(result.clip))) return false;
  const std::int32_t frameCount = video_->Source()->FrameCount();
  const auto repaired = FitWorkToClip(result.work, {frameCount, video_->Interval()}, path);
  SetMode(result.work.transparentMode ? WorkingMode::Transparent : WorkingMode::FixedAxes);
  ApplyMontage(result.work.montage, frameCount, *montage_);
  session_->Restore(result.work);
  video_->Seek(result.work.imageNumber);
  ShowCurrentFrame();
  // Once more: the fields show the saved frame, reached after the session was restored.
  onSessionChanged();
  if (repaired) ShowMessage(*repaired);
  return true;
}

}  // namespace kinovia
