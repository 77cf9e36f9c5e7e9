// Opening, stepping and showing the clip in the main window.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <filesystem>

#include "core/TempFolder.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/studio/StudioMode.h"
#include "logic/montage/Montage.h"
#include "logic/session/Session.h"
#include "media/samples/SampleClips.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

namespace kinovia {

bool MainWindow::ClipOpen() const { return video_ && video_->IsOpen(); }

void MainWindow::CreateVideo() {
  montage_ = std::make_unique<Montage>();
  video_ = std::make_unique<VideoControl>(*montage_);
  WireOpeningProgress();
  video_->onErrorText = [this](const std::string& text) {
    Message m;
    m.icon = MessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    ShowMessage(m.Line(text));
  };
  // Playback ticks come from the timer's thread: only the repaint crosses to this one.
  video_->onRepaintRequest = [this] {
    QMetaObject::invokeMethod(
        this, [this] { ShowCurrentFrame(); }, Qt::QueuedConnection);
  };
  video_->onModeChanged = [this] {
    UpdateToolBars();
    UpdateFields();
  };
}

bool MainWindow::OpenClip(const QString& path) {
  if (!ConfirmFileChange()) return false;
  if (!LoadClip(path)) return false;
  OfferTimestampHoles();
  return true;
}

bool MainWindow::LoadClip(const QString& path) {
  // The recording reads the open clip until it ends.
  if (RecordingMontage()) return false;
  recent_.SetDirectory(QFileInfo(path).absolutePath().toStdString());
  const std::string file = path.toStdString();
  if (!OpenVideoWithProgress(file)) {
    const Message failure = video_->OpenFailureMessage(file);
    CloseClip();
    if (!video_->OpeningCancelled()) ShowMessage(failure);
    return false;
  }
  session_->Reset();
  session_->SetDuration(video_->Interval());
  recent_.Add(QFileInfo(path).absoluteFilePath().toStdString());
  setWindowTitle(QFileInfo(path).fileName());
  if (Mode() == WorkingMode::None) SetMode(WorkingMode::FixedAxes);
  if (Mode() == WorkingMode::FixedAxes) session_->SetTool(PointingTool::Mark);
  // The tracking of another clip means nothing on this one.
  if (Mode() == WorkingMode::Tracking) EnterTracking();
  studio_->ClipChanged();
  view_->ResetZoom();
  ShowCurrentFrame();
  UpdateToolBars();
  RefreshCursor();
  // The work on the previous clip was saved or left on purpose before this one opened.
  DiscardRecovery();
  return true;
}

void MainWindow::CloseClip() {
  video_->Close();
  view_->ClearFrame();
  studio_->ClipChanged();
  setWindowTitle(QTxt(txt::AppTitle));
  UpdateToolBars();
  UpdateFields();
}

void MainWindow::StepTo(int frame) {
  if (!ClipOpen()) return;
  const int before = video_->CurrentSourceFrame();
  video_->GoToMontageIndex(frame);
  if (video_->CurrentSourceFrame() != before) ShowCurrentFrame();
}

void MainWindow::ShowCurrentFrame() {
  if (!ClipOpen()) return;
  Bitmap bitmap;
  bitmap.Resize(video_->PictureWidth(), video_->PictureHeight());
  if (!video_->Draw(bitmap)) return;
  QImage image(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.width * 3,
               QImage::Format_RGB888);
  view_->SetFrame(image.copy());
  UpdateFields();
  emit frameShown();
  if (!screenshotPath_.isEmpty()) {
    const QString path = std::exchange(screenshotPath_, QString());
    // After the paint that puts the frame on screen.
    QTimer::singleShot(0, this, [this, path] { TakeScreenshot(path); });
  }
}

// What the display shows of the window when it can tell, else the window as it paints itself.
void MainWindow::TakeScreenshot(const QString& path) {
  QPixmap shot;
  if (QScreen* display = screen()) shot = display->grabWindow(winId());
  if (shot.isNull()) shot = grab();
  // Whoever waits for the file sees it only once it is whole.
  const QString part = path + ".part.png";
  if (shot.save(part)) QFile::rename(part, path);
}

void MainWindow::Start(const QString& file, bool welcome) {
  startTimer_ = new QTimer(this);
  startTimer_->setSingleShot(true);
  connect(startTimer_, &QTimer::timeout, this, [this, file] {
    if (OfferRecovery()) return;
    if (!file.isEmpty())
      OpenFile(file);
    else
      OpenSampleClip(QTime::currentTime().second());
  });
  startTimer_->start(0);
  if (welcome) {
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::StartupLine1).Line(txt::StartupLine2).Blank().Line(txt::StartupLine3);
    ShowMessage(m);
  }
}

void MainWindow::OpenSampleClip(int secondOfMinute) {
  const std::filesystem::path folder = TemporaryFolder();
  if (!WriteSampleClips(folder)) {
    Message m;
    m.icon = MessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::SampleWriteFailed);
    ShowMessage(m);
    return;
  }
  const SampleClip clip = secondOfMinute % 2 == 1 ? SampleClip::Cylindre : SampleClip::Parabole;
  const auto path = folder / (std::string(SampleClipName(clip)) + ".avi");
  OpenClip(QString::fromStdString(path.string()));
}

}  // namespace kinovia
