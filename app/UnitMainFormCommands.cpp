// The commands of the main window's menus, tool bars and fields.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "app/UnitBoiteNomCouleur.h"
#include "app/UnitBoiteValeur.h"
#include "app/UnitConfirmations.h"
#include "app/UnitMainForm.h"
#include "app/UnitMessageBox.h"
#include "app/UnitQtText.h"
#include "app/UnitResultsCheck.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "results/UnitResultsSource.h"
#include "session/UnitData.h"
#include "settings/UnitOptionsViews.h"
#include "video/UnitVideo.h"
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
  if (!IsPointingMode(Mode())) return;
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
      SetViewTool(TViewTool::Zoom);
      break;
    case TToolAction::Pan:
      if (view_->Mapping().Zoom() == TViewMapping::kZoomMin) {
        TMessage m;
        m.icon = TMessageIcon::Information;
        m.buttons = {txt::ButtonOk};
        m.Line(txt::PanNeedsZoom);
        ShowMessage(m);
      }
      SetViewTool(TViewTool::Pan);
      break;
    case TToolAction::Nom:
      NameAndColourClick();
      break;
    default:
      SetViewTool(TViewTool::None);
      ApplySessionTool(tool);
      break;
  }
  RefreshCursor();
}

// The video control keeps the view tool too; the picture's hint tells what the mouse now does.
void TMainForm::SetViewTool(TViewTool tool) {
  view_->SetTool(tool);
  video_->SetViewTool(tool);
  const QString hint = tool == TViewTool::Zoom  ? QTxt(txt::ZoomHint).mid(1)
                       : tool == TViewTool::Pan ? QTxt(txt::PanHint).mid(1)
                                                : QString();
  view_->Canvas()->setToolTip(hint);
}

void TMainForm::ModeClick(TWorkMode mode) {
  if (!SetMode(mode)) UpdateToolBars();
}

void TMainForm::ResultsClick(int page) {
  (void)page;  // the results window opens on this page once it exists
  if (!ClipOpen()) return;
  for (const auto& check : ResultsChecks(ResultsFacts())) {
    if (check.step == TResultsStep::AdviseNaming) {
      bool dontShow = false;
      const int pressed =
          messages_->Show(check.message, QTxt(txt::ResultsDontShowAgain), &dontShow);
      if (dontShow) namingAdviceOn_ = false;
      if (pressed == 1) return;
      if (pressed == 0) ToolClick(TToolAction::Nom);
      continue;
    }
    const int pressed = ShowMessage(check.message);
    if (check.step == TResultsStep::Refuse) return;
    if (check.step == TResultsStep::AskContinue && pressed == 0) return;
  }
  TCalcul calcul;
  TGrid grid;
  if (!PrepareTable(*data_, HiddenFamiliesOf(*options_), DerivationFlagsOf(*options_), calcul,
                    grid))
    return;
  ShowMessage(ResultsComputedMessage(calcul.RowCount(), grid.ColumnCount() - TGrid::kFixedColumns));
}

void TMainForm::NameAndColourClick() {
  TBoiteNomCouleur dialog(this);
  dialog.Load(*data_, Mode() == TWorkMode::Transparent);
  if (dialog.exec() == QDialog::Accepted) dialog.Store(*data_);
  SessionChanged();
}

bool TMainForm::HasDefaultName() const {
  const auto& names = data_->ActiveStore().Names();
  for (int i = 0; i < int(names.size()); ++i)
    if (names[std::size_t(i)] == TPolyContainer::DefaultName(i)) return true;
  return false;
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

}  // namespace kinovia
