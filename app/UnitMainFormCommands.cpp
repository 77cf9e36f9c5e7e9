// The commands of the main window's menus, tool bars and fields.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "app/UnitBoiteValeur.h"
#include "app/UnitConfirmations.h"
#include "app/UnitMainForm.h"
#include "app/UnitMessageBox.h"
#include "app/UnitQtText.h"
#include "app/UnitResultsCheck.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "video/UnitFrameSource.h"
#include "video/UnitVideoView.h"
#include "video/UnitVideoViewLoupe.h"

namespace kinovia {

void TMainForm::MenuAbrirVideoClick() {
  const QString filter = QTxt(txt::VideoFilter) + ";;" + QTxt(txt::WorkFilter);
  const QString path = QFileDialog::getOpenFileName(
      this, QTxt(txt::MenuAbrirVideo), QString::fromStdString(recent_.Directory()), filter);
  if (!path.isEmpty()) OpenFile(path);
}

void TMainForm::MenuGuardarClick() { SaveWork(); }

void TMainForm::MenuSalirClick() { close(); }

void TMainForm::MenuLupaClick() {
  if (!IsPointingMode(mode_)) return;
  view_->Loupe()->setVisible(!view_->Loupe()->isVisible());
}

// The help page beside the program, or in its installed data folder.
void TMainForm::MenuAyudaClick() {
  const QString here = QCoreApplication::applicationDirPath();
  const QStringList folders = {here + "/Help", here + "/../share/kinovia/Help"};
  const QStringList names = {"Help_fr.html", "Help_cz.html", "Help_es.html", "Help_en.html",
                             "Help.html"};
  for (const QString& folder : folders)
    for (const QString& name : names)
      if (QFileInfo::exists(folder + "/" + name)) {
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder + "/" + name))) return;
      }
  TMessage m;
  m.icon = TMessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::HelpOpenFailed).Line(txt::HelpFolderMissing);
  ShowMessage(m);
}

void TMainForm::ToolClick(TToolAction tool) {
  if (!ClipOpen()) return;
  switch (tool) {
    case TToolAction::Zoom:
      view_->SetTool(TViewTool::Zoom);
      break;
    case TToolAction::Pan:
      if (view_->Mapping().Zoom() == TViewMapping::kZoomMin) {
        TMessage m;
        m.icon = TMessageIcon::Information;
        m.buttons = {txt::ButtonOk};
        m.Line(txt::PanNeedsZoom);
        ShowMessage(m);
      }
      view_->SetTool(TViewTool::Pan);
      break;
    default:
      view_->SetTool(TViewTool::None);
      break;
  }
}

void TMainForm::ModeClick(TWorkMode mode) {
  if (!SetMode(mode)) UpdateToolBars();
}

void TMainForm::ResultsClick(int page) {
  (void)page;
  TResultsFacts facts;
  facts.mode = mode_;
  for (const auto& check : ResultsChecks(facts)) {
    const int pressed = ShowMessage(check.message);
    if (check.step == TResultsStep::Refuse) return;
    if (check.step == TResultsStep::AskContinue && pressed == 0) return;
    if (check.step == TResultsStep::AdviseNaming && pressed == 1) return;
  }
  ShowMessage(ResultsComputedMessage(0, 0));
}

void TMainForm::ZoomFieldClick() { view_->ResetZoom(); }

bool TMainForm::ConfirmFileChange() {
  if (!ClipOpen() || !confirmFileChange_) return true;
  const TMessage question = FileChangeMessage();
  switch (LeaveChoice(question, ShowMessage(question))) {
    case TLeaveChoice::Save:
      return SaveWork();
    case TLeaveChoice::Cancel:
      return false;
    case TLeaveChoice::Leave:
      break;
  }
  return true;
}

bool TMainForm::SaveWork() { return true; }

}  // namespace kinovia
