// Opening a long clip: progress in the status bar, and a way out.
#include "gui/MainWindow.h"
#include "gui/OpeningProgress.h"
#include "media/video/VideoControl.h"

namespace kinovia {

void MainWindow::WireOpeningProgress() {
  opening_ = new OpeningProgress(*this);
  video_->onOpeningProgress = [this](double fraction) { return opening_->Progress(fraction); };
}

bool MainWindow::OpenVideoWithProgress(const std::string& file) {
  opening_->Start();
  const bool open = video_->Open(file);
  opening_->Finish();
  return open;
}

}  // namespace kinovia
