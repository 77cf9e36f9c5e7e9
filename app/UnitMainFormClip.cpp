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

#include "app/UnitMainForm.h"
#include "app/UnitQtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"
#include "resources/UnitSampleClips.h"
#include "session/UnitData.h"
#include "settings/UnitTempFolder.h"
#include "video/UnitVideo.h"
#include "video/UnitVideoView.h"
#include "workshop/UnitMontage.h"

namespace kinovia {

bool TMainForm::ClipOpen() const { return video_ && video_->IsOpen(); }

void TMainForm::CreateVideo() {
  montage_ = std::make_unique<TMontage>();
  video_ = std::make_unique<TVideo>(*montage_);
  video_->onErrorText = [this](const std::string& text) {
    TMessage m;
    m.icon = TMessageIcon::Warning;
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

bool TMainForm::OpenClip(const QString& path) {
  if (!ConfirmFileChange()) return false;
  return LoadClip(path);
}

bool TMainForm::LoadClip(const QString& path) {
  recent_.SetDirectory(QFileInfo(path).absolutePath().toStdString());
  const std::string file = path.toStdString();
  if (!video_->Open(file)) {
    const TMessage failure = video_->OpenFailureMessage(file);
    CloseClip();
    ShowMessage(failure);
    return false;
  }
  data_->Reset();
  data_->SetDuration(video_->Interval());
  recent_.Add(QFileInfo(path).absoluteFilePath().toStdString());
  setWindowTitle(QFileInfo(path).fileName());
  if (Mode() == TWorkMode::None) SetMode(TWorkMode::RepereFixe);
  if (Mode() == TWorkMode::RepereFixe) data_->SetTool(TTool::Mark);
  view_->ResetZoom();
  ShowCurrentFrame();
  UpdateToolBars();
  RefreshCursor();
  return true;
}

void TMainForm::CloseClip() {
  video_->Close();
  view_->ClearFrame();
  setWindowTitle(QTxt(txt::AppTitle));
  UpdateToolBars();
  UpdateFields();
}

void TMainForm::StepTo(int frame) {
  if (!ClipOpen()) return;
  const int before = video_->CurrentSourceFrame();
  video_->GoToMontageIndex(frame);
  if (video_->CurrentSourceFrame() != before) ShowCurrentFrame();
}

void TMainForm::ShowCurrentFrame() {
  if (!ClipOpen()) return;
  TBitmap bitmap;
  bitmap.Resize(video_->PictureWidth(), video_->PictureHeight());
  if (!video_->Draw(bitmap)) return;
  QImage image(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.width * 3,
               QImage::Format_RGB888);
  view_->SetFrame(image.copy());
  UpdateFields();
  emit FrameShown();
  if (!screenshotPath_.isEmpty()) {
    const QString path = std::exchange(screenshotPath_, QString());
    // After the paint that puts the frame on screen.
    QTimer::singleShot(0, this, [this, path] { TakeScreenshot(path); });
  }
}

// What the display shows of the window when it can tell, else the window as it paints itself.
void TMainForm::TakeScreenshot(const QString& path) {
  QPixmap shot;
  if (QScreen* display = screen()) shot = display->grabWindow(winId());
  if (shot.isNull()) shot = grab();
  // Whoever waits for the file sees it only once it is whole.
  const QString part = path + ".part.png";
  if (shot.save(part)) QFile::rename(part, path);
}

void TMainForm::Start(const QString& file, bool welcome) {
  startTimer_ = new QTimer(this);
  startTimer_->setSingleShot(true);
  connect(startTimer_, &QTimer::timeout, this, [this, file] {
    if (!file.isEmpty())
      OpenFile(file);
    else
      OpenSampleClip(QTime::currentTime().second());
  });
  startTimer_->start(0);
  if (welcome) {
    TMessage m;
    m.icon = TMessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::StartupLine1).Line(txt::StartupLine2).Blank().Line(txt::StartupLine3);
    ShowMessage(m);
  }
}

void TMainForm::OpenSampleClip(int secondOfMinute) {
  const std::filesystem::path folder = TemporaryFolder();
  if (!WriteSampleClips(folder)) {
    TMessage m;
    m.icon = TMessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::SampleWriteFailed);
    ShowMessage(m);
    return;
  }
  const TSampleClip clip = secondOfMinute % 2 == 1 ? TSampleClip::Cylindre : TSampleClip::Parabole;
  const auto path = folder / (std::string(SampleClipName(clip)) + ".avi");
  OpenClip(QString::fromStdString(path.string()));
}

}  // namespace kinovia
