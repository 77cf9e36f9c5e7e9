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
#include "video/UnitFFMpegPlay.h"
#include "video/UnitVfwPlay.h"
#include "video/UnitVideoView.h"

namespace kinovia {

bool TMainForm::ClipOpen() const { return clip_ && clip_->IsOpen(); }

bool TMainForm::OpenClip(const QString& path) {
  if (!ConfirmFileChange()) return false;
  return LoadClip(path);
}

bool TMainForm::LoadClip(const QString& path) {
  recent_.SetDirectory(QFileInfo(path).absolutePath().toStdString());
  const std::string file = path.toStdString();
  std::unique_ptr<TFrameSource> clip;
  if (path.endsWith(".avi", Qt::CaseInsensitive)) {
    clip = std::make_unique<TVfwPlay>();
    if (!clip->Open(file)) clip.reset();
  }
  std::vector<std::string> lastError;
  if (!clip) {
    auto ffmpeg = std::make_unique<TFFMpegPlay>();
    ffmpeg->Open(file);
    lastError = ffmpeg->ErrorLines();
    clip = std::move(ffmpeg);
  }
  if (!clip->IsOpen()) {
    ClipFailed(path, !QFileInfo::exists(path), lastError);
    return false;
  }
  clip_ = std::move(clip);
  data_->Reset();
  data_->SetDuration(clip_->Interval());
  recent_.Add(QFileInfo(path).absoluteFilePath().toStdString());
  setWindowTitle(QFileInfo(path).fileName());
  if (mode_ == TWorkMode::None) SetMode(TWorkMode::RepereFixe);
  view_->ResetZoom();
  ShowCurrentFrame();
  UpdateToolBars();
  return true;
}

void TMainForm::ClipFailed(const QString& path, bool missing,
                           const std::vector<std::string>& lastError) {
  CloseClip();
  TMessage m;
  m.icon = TMessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.FileName(QDir::toNativeSeparators(path).toStdString());
  if (missing) {
    m.Line(txt::VideoCannotOpen).Line(txt::VideoCheckNotMoved);
  } else {
    m.Blank().Line(txt::VideoCannotOpenSuggestions);
    if (!lastError.empty())
      for (const auto& line : lastError) m.Line(line);
    else
      m.Line(txt::VideoFileDamaged).Line(txt::VideoMissingCodec);
  }
  ShowMessage(m);
}

void TMainForm::CloseClip() {
  clip_.reset();
  view_->ClearFrame();
  setWindowTitle(QTxt(txt::AppTitle));
  UpdateToolBars();
  UpdateFields();
}

void TMainForm::StepTo(int frame) {
  if (!ClipOpen()) return;
  const int before = clip_->CurrentFrame();
  clip_->SetPosition(frame);
  if (clip_->CurrentFrame() != before) ShowCurrentFrame();
}

void TMainForm::ShowCurrentFrame() {
  TBitmap bitmap;
  if (!clip_->DrawWhole(bitmap)) return;
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
