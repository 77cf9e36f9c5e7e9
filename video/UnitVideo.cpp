#include "video/UnitVideo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"
#include "workshop/UnitMontage.h"

namespace kinovia {

TFramework FrameworkForExtension(std::string_view fileName) {
  // The program's list of video extensions, in its order: the position picks the framework.
  static constexpr std::array<std::string_view, 6> kExtensions = {".avi", ".mpg", ".mpeg",
                                                                  ".wmv", ".mov", ".mp4"};
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto at = std::find(kExtensions.begin(), kExtensions.end(), extension);
  const auto position = at - kExtensions.begin();
  if (at == kExtensions.end() || position == 0) return TFramework::Vfw;
  return position < 4 ? TFramework::DirectShow : TFramework::FFmpeg;
}

namespace {

std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

TVideo::TVideo(TMontage& montage) : montage_(montage) {
  for (TFrameSource* source : {static_cast<TFrameSource*>(&vfw_), static_cast<TFrameSource*>(&ds_),
                               static_cast<TFrameSource*>(&ffmpeg_)})
    source->onOpened = [this] {
      if (onClipOpened) onClipOpened();
    };
}

TVideo::~TVideo() { Stop(); }

bool TVideo::TryOpen(TFramework framework, const std::string& fileName) {
  framework_ = framework;
  source_ = framework == TFramework::Vfw          ? static_cast<TFrameSource*>(&vfw_)
            : framework == TFramework::DirectShow ? static_cast<TFrameSource*>(&ds_)
                                                  : static_cast<TFrameSource*>(&ffmpeg_);
  return source_->Open(fileName);
}

void TVideo::CloseAll() {
  Stop();
  lastErrorText_.clear();
  for (TFrameSource* source : {static_cast<TFrameSource*>(&vfw_), static_cast<TFrameSource*>(&ds_),
                               static_cast<TFrameSource*>(&ffmpeg_)})
    source->Close();
}

bool TVideo::OpenWith(TFramework framework, const std::string& fileName) {
  CloseAll();
  return Opened(TryOpen(framework, fileName));
}

bool TVideo::Open(const std::string& fileName) {
  CloseAll();
  TFramework framework = FrameworkForExtension(fileName);
  if (TFFMpegPlay::Comment(fileName) == Txt(txt::VideoOwnRecorderComment))
    framework = TFramework::FFmpeg;
  bool open = false;
  if (framework == TFramework::Vfw) {
    open = TryOpen(TFramework::Vfw, fileName);
    framework = TFramework::DirectShow;
  }
  if (!open && framework == TFramework::DirectShow) {
    open = TryOpen(TFramework::DirectShow, fileName);
    framework = TFramework::FFmpeg;
  }
  if (!open) open = TryOpen(TFramework::FFmpeg, fileName);
  return Opened(open);
}

bool TVideo::Opened(bool open) {
  if (framework_ == TFramework::FFmpeg) lastErrorText_ = JoinedLines(ffmpeg_.ErrorLines());
  if (!open) {
    source_ = nullptr;
    return false;
  }
  if (onClipInterval) onClipInterval(source_->Interval());
  montage_.ResetMontage(source_->FrameCount());
  if (onNewClipForRecorder) onNewClipForRecorder();
  sourceRect_ = {0, 0, source_->Width(), source_->Height()};
  return true;
}

TMessage TVideo::OpenFailureMessage(const std::string& fileName) const {
  TMessage message;
  message.icon = TMessageIcon::Warning;
  message.buttons = {txt::ButtonOk};
  message.FileName(fileName);
  std::error_code error;
  if (!std::filesystem::exists(fileName, error)) {
    message.Line(txt::VideoCannotOpen).Line(txt::VideoCheckNotMoved);
    return message;
  }
  message.Blank().Line(txt::VideoCannotOpenSuggestions);
  if (!lastErrorText_.empty()) {
    std::size_t start = 0;
    for (std::size_t end; (end = lastErrorText_.find('\n', start)) != std::string::npos;
         start = end + 1)
      message.Line(lastErrorText_.substr(start, end - start));
    message.Line(lastErrorText_.substr(start));
  } else {
    message.Line(txt::VideoFileDamaged).Line(txt::VideoMissingCodec);
  }
  return message;
}

void TVideo::Close() {
  Stop();
  if (source_) source_->Close();
  source_ = nullptr;
  if (onClipClosed) onClipClosed();
}

bool TVideo::MontageCovers() const {
  return IsOpen() && montage_.FrameCount() == source_->FrameCount() && montage_.VisibleCount() > 0;
}

int TVideo::CurrentSourceFrame() const { return IsOpen() ? source_->CurrentFrame() : 0; }

int TVideo::CurrentMontageIndex() const {
  const int current = CurrentSourceFrame();
  if (workMode_ == TWorkMode::Montage || !MontageCovers()) return current;
  // A frame hidden while it was shown counts as the visible frame the clip goes to next.
  return montage_.SourceToVisible(montage_.FrameAfterMontageMode(current));
}

int TVideo::FrameCount() const {
  if (!IsOpen()) return 0;
  if (workMode_ != TWorkMode::Montage && MontageCovers()) return montage_.VisibleCount();
  return source_->FrameCount();
}

int TVideo::PictureWidth() const { return IsOpen() ? source_->Width() : -1; }
int TVideo::PictureHeight() const { return IsOpen() ? source_->Height() : -1; }

int TVideo::FrameTimeIndex(int sourceFrame) const {
  return MontageCovers() ? montage_.FrameTimeIndex(sourceFrame) : sourceFrame;
}

int TVideo::SourceOfMontageIndex(int n) const {
  if (workMode_ == TWorkMode::Montage || !MontageCovers()) return n;
  return montage_.VisibleToSource(n);
}

void TVideo::GoToMontageIndex(int n) {
  Stop();
  const int target = SourceOfMontageIndex(n);
  if (IsOpen() && target >= 0 && target != CurrentSourceFrame()) source_->SetPosition(target);
}

void TVideo::Seek(int sourceFrame) {
  if (IsOpen()) source_->SetPosition(sourceFrame);
}

double TVideo::Interval() const { return IsOpen() ? source_->Interval() : 0; }
double TVideo::FramesPerSecond() const { return IsOpen() ? source_->FramesPerSecond() : 0; }
std::string TVideo::FileName() const { return IsOpen() ? source_->FileName() : std::string(); }

bool TVideo::GoAndTell(int montageIndex) {
  if (!IsOpen()) return false;
  const int before = CurrentMontageIndex();
  GoToMontageIndex(montageIndex);
  return CurrentMontageIndex() != before;
}

bool TVideo::GoFirst() { return GoAndTell(0); }
bool TVideo::GoPrevious() { return GoAndTell(CurrentMontageIndex() - 1); }
bool TVideo::GoNext() { return GoAndTell(CurrentMontageIndex() + 1); }
bool TVideo::GoLast() { return GoAndTell(FrameCount() - 1); }

void TVideo::Play(int firstMontageIndex, int lastMontageIndex) {
  Stop();
  if (!IsOpen()) return;
  playFirst_ = SourceOfMontageIndex(firstMontageIndex);
  playLast_ = SourceOfMontageIndex(lastMontageIndex);
  Seek(playFirst_);
  timer_.Start(source_->DurationMs(), [this] { return AdvancePlayback(); });
}

void TVideo::Stop() { timer_.Stop(); }

bool TVideo::AdvancePlayback() {
  if (!IsOpen()) return false;
  const int next = workMode_ == TWorkMode::Montage
                       ? CurrentSourceFrame() + 1
                       : SourceOfMontageIndex(CurrentMontageIndex() + 1);
  if (next < playFirst_ || next > playLast_ || next < 0) return false;
  source_->SetPosition(next);
  if (!source_->Busy() && onRepaintRequest) onRepaintRequest();
  return true;
}

void TVideo::SetWorkMode(TWorkMode mode) {
  if (mode == workMode_) return;
  workMode_ = mode;
  if (onModeChanged) onModeChanged();
  if (onModeButtons) onModeButtons();
}

void TVideo::SetViewTool(TViewTool tool) {
  if (tool == viewTool_) return;
  viewTool_ = tool;
  if (onViewToolChanged) onViewToolChanged();
}

bool TVideo::Draw(TBitmap& target) {
  if (!IsOpen()) return false;
  const bool hidden = MontageCovers() && !montage_.Visible(source_->CurrentFrame());
  source_->SetRasterOp(hidden ? TRasterOp::Invert : TRasterOp::Copy);
  if (!source_->Draw(target, sourceRect_)) {
    if (framework_ == TFramework::FFmpeg && onErrorText && !ffmpeg_.ErrorLines().empty())
      onErrorText(JoinedLines(ffmpeg_.ErrorLines()));
    return false;
  }
  if (onFrameChanged) onFrameChanged();
  return true;
}

}  // namespace kinovia
