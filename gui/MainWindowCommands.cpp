// The commands of the main window's menus, tool bars and fields.
#include <QAction>
#include <QFileDialog>

#include "gui/Confirmations.h"
#include "gui/HelpPage.h"
#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/ObjectNamesDialog.h"
#include "gui/QtText.h"
#include "gui/ResultsCheck.h"
#include "gui/ValueDialog.h"
#include "gui/VideoView.h"
#include "gui/VideoViewMagnifier.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

void MainWindow::onOpenClipTriggered() {
  const QString filter = QTxt(txt::VideoFilter) + ";;" + QTxt(txt::WorkFilter);
  const QString path = QFileDialog::getOpenFileName(
      this, QTxt(txt::MenuAbrirVideo), QString::fromStdString(recent_.Directory()), filter);
  if (!path.isEmpty()) OpenFile(path);
}

void MainWindow::onSaveTriggered() { SaveWork(); }

void MainWindow::onQuitTriggered() { close(); }

void MainWindow::onMagnifierTriggered() {
  if (!IsPointingMode(Mode())) return;
  view_->Loupe()->setVisible(!view_->Loupe()->isVisible());
}

// The section of the help page that tells about the mode on show.
QString MainWindow::HelpSection(WorkingMode mode) {
  switch (mode) {
    case WorkingMode::FixedAxes:
    case WorkingMode::Transparent:
      return help::kPointing;
    case WorkingMode::Tracking:
      return help::kTracking;
    case WorkingMode::Montage:
      return help::kMontage;
    case WorkingMode::Capture:
      return help::kCapture;
    case WorkingMode::Studio:
      return help::kStudio;
    default:
      return {};
  }
}

void MainWindow::onHelpTriggered() {
  OpenHelpPage(HelpSection(Mode()), [this](const Message& m) { return ShowMessage(m); });
}

void MainWindow::onToolTriggered(ToolAction tool) {
  if (!ClipOpen()) return;
  switch (tool) {
    case ToolAction::Zoom:
      SetViewTool(ViewToolKind::Zoom);
      break;
    case ToolAction::Pan:
      if (view_->Mapping().Zoom() == ViewMapping::kZoomMin) {
        Message m;
        m.icon = MessageIcon::Information;
        m.buttons = {txt::ButtonOk};
        m.Line(txt::PanNeedsZoom);
        ShowMessage(m);
      }
      SetViewTool(ViewToolKind::Pan);
      break;
    case ToolAction::Names:
      onNamesAndColoursTriggered();
      break;
    default:
      SetViewTool(ViewToolKind::None);
      ApplySessionTool(tool);
      break;
  }
  RefreshCursor();
}

// The video control keeps the view tool too; the picture's hint tells what the mouse now does.
void MainWindow::SetViewTool(ViewToolKind tool) {
  view_->SetTool(tool);
  video_->SetViewTool(tool);
  const QString hint = tool == ViewToolKind::Zoom  ? QTxt(txt::ZoomHint).mid(1)
                       : tool == ViewToolKind::Pan ? QTxt(txt::PanHint).mid(1)
                                                   : QString();
  view_->Canvas()->setToolTip(hint);
}

void MainWindow::onModeTriggered(WorkingMode mode) {
  if (!SetMode(mode)) UpdateToolBars();
}

void MainWindow::onResultsTriggered(int page) {
  if (!ClipOpen()) return;
  for (const auto& check : ResultsChecks(CurrentResultsFacts())) {
    if (check.step == ResultsStep::AdviseNaming) {
      bool dontShow = false;
      const int pressed =
          messages_->Show(check.message, QTxt(txt::ResultsDontShowAgain), &dontShow);
      if (dontShow) namingAdviceOn_ = false;
      if (pressed == 1) return;
      if (pressed == 0) onToolTriggered(ToolAction::Names);
      continue;
    }
    const int pressed = ShowMessage(check.message);
    if (check.step == ResultsStep::Refuse) return;
    if (check.step == ResultsStep::AskContinue && pressed == 0) return;
  }
  OpenResults(page);
}

void MainWindow::onNamesAndColoursTriggered() {
  ObjectNamesDialog dialog(this);
  dialog.Load(*session_, Mode() == WorkingMode::Transparent);
  if (dialog.exec() == QDialog::Accepted) dialog.Store(*session_);
  onSessionChanged();
}

bool MainWindow::HasDefaultName() const {
  const auto& names = session_->ActiveStore().Names();
  for (int i = 0; i < int(names.size()); ++i)
    if (names[std::size_t(i)] == MarkStore::DefaultName(i)) return true;
  return false;
}

void MainWindow::onZoomFieldClicked() { view_->ResetZoom(); }

bool MainWindow::ConfirmFileChange() {
  if (!ClipOpen() || !confirmFileChange_) return true;
  const Message question = FileChangeMessage();
  switch (LeaveChoiceOf(question, ShowMessage(question))) {
    case LeaveChoice::Save:
      return SaveWork();
    case LeaveChoice::Cancel:
      return false;
    case LeaveChoice::Leave:
      break;
  }
  return true;
}

}  // namespace kinovia
