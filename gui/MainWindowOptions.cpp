// The options dialog in the main window: the lock asked first, the dialog, and what the other
// windows read again once the options changed.
#include <QToolBar>

#include "gui/MainWindow.h"
#include "gui/options/OptionsDialog.h"
#include "gui/results/ResultsWindow.h"
#include "gui/tracking/TrackingMode.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsViews.h"

namespace kinovia {

void MainWindow::onOptionsTriggered() {
  const OptionsAccess access = options_->AskAccess();
  if (access.warning) ShowMessage(*access.warning);
  if (!access.granted) return;
  std::optional<FileAssociation> association;
  if (const auto dataHome = FileAssociation::UserDataHome()) association.emplace(*dataHome);
  OptionsDialog dialog(*options_, std::move(association), this);
  const auto closing = dialog.Execute([this] {
    if (resultsWindow_) resultsWindow_->MarkStale();
  });
  if (closing && closing->associationWarning) ShowMessage(*closing->associationWarning);
}

// The notification of the options reaches here after the main window's own reading.
void MainWindow::ReadOptionsInOtherWindows() {
  const Options& o = *options_;
  if (tracking_ && Mode() == WorkingMode::Tracking && !tracking_->Running()) {
    tracking_->SetSearchRadius(o.Value(IntOption::TrackingRadius));
    tracking_->SetSearchZoneShown(o.Flag(BoolOption::ShowRadiusSearch));
  }
  if (resultsBar_) {
    const auto buttons = resultsBar_->actions();
    for (int b = 0; b < buttons.size(); ++b) buttons[b]->setVisible(ResultsPageOffered(o, b));
  }
  if (!resultsWindow_) return;
  if (resultsWindow_->isVisible()) resultsWindow_->Refresh();
  resultsWindow_->ReadOptions();
}

}  // namespace kinovia
