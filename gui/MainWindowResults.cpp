// The main window's way into the results window.
#include <filesystem>

#include "gui/MainWindow.h"
#include "gui/VideoView.h"
#include "gui/export/ExportServer.h"
#include "gui/results/ResultsWindow.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "media/video/VideoControl.h"

namespace kinovia {
namespace {

// The results buttons of the main window, in their order, and the page each one opens.
constexpr ResultsWindow::Page kButtonPages[] = {
    ResultsWindow::Page::Table, ResultsWindow::Page::Time, ResultsWindow::Page::Trajectory,
    ResultsWindow::Page::Vectors, ResultsWindow::Page::Formula};

}  // namespace

void MainWindow::OpenResults(int page) {
  if (!resultsWindow_) {
    resultsWindow_ = new ResultsWindow(
        *session_, *options_, [this] { return Mode() == WorkingMode::Transparent; },
        [this](const Message& message) { return ShowMessage(message); }, this);
    resultsWindow_->setWindowFlag(Qt::Window);
    resultsWindow_->SetPictureSource([this] { return view_->Frame(); });
    resultsWindow_->SetExport(
        std::make_unique<ExportServer>(
            resultsWindow_, [this](const Message& message) { return ShowMessage(message); },
            recent_, OptionsFilePath()),
        [this] { return std::filesystem::path(video_->FileName()).filename().string(); });
  }
  resultsWindow_->MarkStale();
  resultsWindow_->show();
  resultsWindow_->raise();
  resultsWindow_->Refresh();
  resultsWindow_->ShowPage(kButtonPages[std::clamp(page, 0, 4)]);
}

}  // namespace kinovia
