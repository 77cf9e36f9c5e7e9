// The montage mode in the main window: its tool bar, the information box with its check box,
// the save dialog of a recording, the progress in the status bar, and leaving the mode.
#include <QFileDialog>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/TextFill.h"
#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/QtText.h"
#include "gui/montage/MontageMode.h"
#include "gui/results/ResultsWindow.h"
#include "logic/montage/Montage.h"
#include "logic/montage/TimestampHoles.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "media/video/VideoControl.h"
#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

void MainWindow::CreateMontage() {
  MontageHost host;
  host.showMessage = [this](const Message& m) { return ShowMessage(m); };
  host.askToggle = [this](const Message& m) {
    bool dontShowAgain = false;
    const int button = messages_->Show(m, QTxt(txt::MontageDontShowAgain), &dontShowAgain);
    return ToggleAnswer{button, dontShowAgain};
  };
  host.toggleInformation = [this] { return options_->Flag(BoolOption::ShowDialogBoxForHideImage); };
  host.marksOnFrame = [this](std::int32_t frame) { return session_->MarksOnFrame(frame); };
  host.showFrame = [this] { ShowCurrentFrame(); };
  host.progress = [this](int percent) { ShowProgress(percent); };
  host.askSaveName = [this](const std::string& folder, const std::string& proposed) {
    const QString start =
        QString::fromStdString((folder.empty() ? recent_.Directory() : folder) + "/" + proposed);
    const QString chosen = QFileDialog::getSaveFileName(this, QTxt(txt::RecordSaveTitle), start,
                                                        QTxt(txt::RecordSaveFilter), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    return chosen.isEmpty() ? std::nullopt : std::optional<std::string>(chosen.toStdString());
  };
  // Marks on a frame that becomes hidden go with it.
  montage_->onDeleteMarks = [this](std::int32_t frame) { session_->FrameHidden(frame); };
  montage_->onResultsStale = [this] {
    if (resultsWindow_) resultsWindow_->MarkStale();
  };
  montageMode_ = new MontageMode(*montage_, *video_, std::move(host), this);
  montageBar_ = addToolBar(QString());
  montageBar_->setObjectName("MontageBar");
  for (QAction* action : montageMode_->ToolBarActions()) montageBar_->addAction(action);
  montageBar_->hide();
}

void MainWindow::ShowProgress(int percent) {
  progress_->setVisible(percent <= 100);
  progress_->setRange(0, 100);
  progress_->setValue(std::min(percent, 100));
}

void MainWindow::EnterMontage() {
  montageMode_->EnableCommands();
  montageBar_->show();
}

bool MainWindow::LeaveMontage() {
  if (!montageMode_->Leave()) return false;
  montageBar_->hide();
  ShowCurrentFrame();
  return true;
}

// A phone's clip whose pictures have holes in their times: the holes can become missing frames
// in one step, so the times of the marks are right.
void MainWindow::OfferTimestampHoles() {
  const auto* ffmpeg = dynamic_cast<const FFmpegSource*>(video_->Source());
  if (!ffmpeg || !permissions_.montage) return;
  const TimestampHoles holes = FindTimestampHoles(ffmpeg->FrameTimes());
  if (holes.total == 0) return;
  Message m;
  m.icon = MessageIcon::Confirmation;
  m.buttons = {txt::ButtonOk, txt::ButtonCancelar};
  m.Line(FillNumbers(txt::HolesFound, {holes.total})).Blank().Line(txt::HolesQuestion);
  if (ShowMessage(m) != 0) return;
  DeclareHoles(*montage_, holes);
  session_->SetDuration(holes.interval);
  video_->MontageChanged();
  ShowCurrentFrame();
}

bool MainWindow::StopRecording() { return montageMode_ && montageMode_->StopRecording(); }

bool MainWindow::RecordingMontage() const { return montageMode_ && montageMode_->Recording(); }

}  // namespace kinovia
