#include "media/video/VideoControl.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <optional>

#include "core/Files.h"
#include "logic/montage/Montage.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

namespace kinovia {

VideoFramework FrameworkForExtension(std::string_view fileName) {
  // The program's list of video extensions, in its order: the position picks the framework.
  static constexpr std::array<std::string_view, 6> kExtensions = {".avi", ".mpg", ".mpeg",
                                                                  ".wmv", ".mov", ".mp4"};
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto at = std::find(kExtensions.begin(), kExtensions.end(), extension);
  const auto position = at - kExtensions.begin();
  if (at == kExtensions.end() || position == 0) return VideoFramework::Avi;
  return position < 4 ? VideoFramework::GStreamer : VideoFramework::FFmpeg;
}

namespace {

std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// A frame hidden while it was shown counts as the visible frame the clip goes to next.
int MontageIndexOf(const Montage& montage, int sourceFrame) {
  return montage.SourceToVisible(montage.FrameAfterMontageMode(sourceFrame));
}

}  // namespace

// Built on the interface thread and never changed afterwards, so the tick reads it without a lock.
// The source is the one object it shares: the tick reads only what opening fixed, and its atomic
// position and busy flag.
struct VideoControl::PlaySnapshot {
  FrameSource* source = nullptr;
  int first = 0;  // the play range in source frames, both ends included
  int last = -1;
  std::optional<Montage> numbering;  // absent when the frames play in source order
  std::function<void()> repaint;

  int FrameAfter(int sourceFrame) const {
    if (!numbering) return sourceFrame + 1;
    return numbering->VisibleToSource(MontageIndexOf(*numbering, sourceFrame) + 1);
  }
};

VideoControl::VideoControl(Montage& montage) : montage_(montage) {
  for (FrameSource* source :
       {static_cast<FrameSource*>(&aviSource_), static_cast<FrameSource*>(&ds_),
        static_cast<FrameSource*>(&ffmpeg_)}) {
    source->onOpened = [this] {
      if (onClipOpened) onClipOpened();
    };
    // A framework that gives up hands the file to the next, which reads it again from the
    // start: the progress shown never goes back.
    source->onOpeningProgress = [this](double fraction) {
      openingProgress_ = std::max(openingProgress_, fraction);
      return !onOpeningProgress || onOpeningProgress(openingProgress_);
    };
  }
}

VideoControl::~VideoControl() { Stop(); }

bool VideoControl::TryOpen(VideoFramework framework, const std::string& fileName) {
  framework_ = framework;
  source_ = framework == VideoFramework::Avi         ? static_cast<FrameSource*>(&aviSource_)
            : framework == VideoFramework::GStreamer ? static_cast<FrameSource*>(&ds_)
                                                     : static_cast<FrameSource*>(&ffmpeg_);
  const bool open = source_->Open(fileName);
  openingCancelled_ = source_->OpeningCancelled();
  return open;
}

void VideoControl::CloseAll() {
  Stop();
  lastErrorText_.clear();
  openingCancelled_ = false;
  openingProgress_ = 0;
  for (FrameSource* source : {static_cast<FrameSource*>(&aviSource_),
                              static_cast<FrameSource*>(&ds_), static_cast<FrameSource*>(&ffmpeg_)})
    source->Close();
}

bool VideoControl::OpenWith(VideoFramework framework, const std::string& fileName) {
  CloseAll();
  return Opened(IsRegularFile(fileName) && TryOpen(framework, fileName));
}

bool VideoControl::Open(const std::string& fileName) {
  CloseAll();
  // A pipe or a device would block every framework's first read.
  if (!IsRegularFile(fileName)) return Opened(false);
  VideoFramework framework = FrameworkForExtension(fileName);
  if (FFmpegSource::Comment(fileName) == Txt(txt::VideoOwnRecorderComment))
    framework = VideoFramework::FFmpeg;
  bool open = false;
  if (framework == VideoFramework::Avi) {
    open = TryOpen(VideoFramework::Avi, fileName);
    framework = VideoFramework::GStreamer;
  }
  // A cancelled opening ends the chain: the user asked for nothing more.
  if (!open && !openingCancelled_ && framework == VideoFramework::GStreamer) {
    open = TryOpen(VideoFramework::GStreamer, fileName);
    framework = VideoFramework::FFmpeg;
  }
  if (!open && !openingCancelled_) {
    // What GStreamer's check read of the clip need not be read again.
    ffmpeg_.TakeOverReading(ds_.TakeRefusedReading());
    open = TryOpen(VideoFramework::FFmpeg, fileName);
  }
  return Opened(open);
}

bool VideoControl::Opened(bool open) {
  if (framework_ == VideoFramework::FFmpeg) lastErrorText_ = JoinedLines(ffmpeg_.ErrorLines());
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

Message VideoControl::OpenFailureMessage(const std::string& fileName) const {
  Message message;
  message.icon = MessageIcon::Warning;
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

void VideoControl::Close() {
  Stop();
  if (source_) source_->Close();
  source_ = nullptr;
  if (onClipClosed) onClipClosed();
}

bool VideoControl::MontageCovers() const {
  return IsOpen() && montage_.FrameCount() == source_->FrameCount() && montage_.VisibleCount() > 0;
}

VideoFramework VideoControl::Framework() const {
  const bool gstreamerSteppedAside =
      framework_ == VideoFramework::GStreamer && IsOpen() && !ds_.ServesItsOwnFrames();
  return gstreamerSteppedAside ? VideoFramework::FFmpeg : framework_;
}

int VideoControl::CurrentSourceFrame() const { return IsOpen() ? source_->CurrentFrame() : 0; }

// The montage mode shows every source frame; the other modes number the visible ones.
bool VideoControl::MontageNumbers() const {
  return workMode_ != WorkingMode::Montage && MontageCovers();
}

int VideoControl::CurrentMontageIndex() const {
  const int current = CurrentSourceFrame();
  return MontageNumbers() ? MontageIndexOf(montage_, current) : current;
}

int VideoControl::FrameCount() const {
  if (!IsOpen()) return 0;
  return MontageNumbers() ? montage_.VisibleCount() : source_->FrameCount();
}

int VideoControl::PictureWidth() const { return IsOpen() ? source_->Width() : -1; }
int VideoControl::PictureHeight() const { return IsOpen() ? source_->Height() : -1; }

int VideoControl::FrameTimeIndex(int sourceFrame) const {
  return MontageCovers() ? montage_.FrameTimeIndex(sourceFrame) : sourceFrame;
}

int VideoControl::SourceOfMontageIndex(int n) const {
  return MontageNumbers() ? montage_.VisibleToSource(n) : n;
}

void VideoControl::GoToMontageIndex(int n) {
  Stop();
  const int target = SourceOfMontageIndex(n);
  if (IsOpen() && target >= 0 && target != CurrentSourceFrame()) source_->SetPosition(target);
}

void VideoControl::Seek(int sourceFrame) {
  if (IsOpen()) source_->SetPosition(sourceFrame);
}

double VideoControl::Interval() const { return IsOpen() ? source_->Interval() : 0; }
double VideoControl::FramesPerSecond() const { return IsOpen() ? source_->FramesPerSecond() : 0; }
std::string VideoControl::FileName() const {
  return IsOpen() ? source_->FileName() : std::string();
}

bool VideoControl::GoAndTell(int montageIndex) {
  if (!IsOpen()) return false;
  const int before = CurrentMontageIndex();
  GoToMontageIndex(montageIndex);
  return CurrentMontageIndex() != before;
}

bool VideoControl::GoFirst() { return GoAndTell(0); }
bool VideoControl::GoPrevious() { return GoAndTell(CurrentMontageIndex() - 1); }
bool VideoControl::GoNext() { return GoAndTell(CurrentMontageIndex() + 1); }
bool VideoControl::GoLast() { return GoAndTell(FrameCount() - 1); }

void VideoControl::Play(int firstMontageIndex, int lastMontageIndex) {
  Stop();
  if (!IsOpen()) return;
  auto snapshot =
      TakeSnapshot(SourceOfMontageIndex(firstMontageIndex), SourceOfMontageIndex(lastMontageIndex));
  Seek(snapshot->first);
  Publish(std::move(snapshot));
  timer_.Start(source_->DurationMs(), [this] { return AdvancePlayback(); });
}

void VideoControl::Stop() {
  timer_.Stop();
  Publish(nullptr);
}

std::shared_ptr<const VideoControl::PlaySnapshot> VideoControl::TakeSnapshot(int firstSource,
                                                                             int lastSource) const {
  auto snapshot = std::make_shared<PlaySnapshot>();
  snapshot->source = source_;
  snapshot->first = firstSource;
  snapshot->last = lastSource;
  if (MontageNumbers()) snapshot->numbering = montage_;
  snapshot->repaint = onRepaintRequest;
  return snapshot;
}

void VideoControl::Publish(std::shared_ptr<const PlaySnapshot> snapshot) {
  std::lock_guard lock(playMutex_);
  playing_ = std::move(snapshot);
}

std::shared_ptr<const VideoControl::PlaySnapshot> VideoControl::Published() const {
  std::lock_guard lock(playMutex_);
  return playing_;
}

bool VideoControl::AdvancePlayback() {
  const auto play = Published();
  if (!play) return false;
  const int next = play->FrameAfter(play->source->CurrentFrame());
  if (next < play->first || next > play->last || next < 0) return false;
  play->source->SetPosition(next);
  if (!play->source->Busy() && play->repaint) play->repaint();
  return true;
}

void VideoControl::RetakeSnapshot() {
  if (const auto play = Published(); play && Playing())
    Publish(TakeSnapshot(play->first, play->last));
}

void VideoControl::SetWorkMode(WorkingMode mode) {
  if (mode == workMode_) return;
  workMode_ = mode;
  RetakeSnapshot();  // the mode decides whether the montage orders the frames
  if (onModeChanged) onModeChanged();
  if (onModeButtons) onModeButtons();
}

void VideoControl::SetViewTool(ViewToolKind tool) {
  if (tool == viewTool_) return;
  viewTool_ = tool;
  if (onViewToolChanged) onViewToolChanged();
}

bool VideoControl::Draw(Bitmap& target) {
  if (!IsOpen()) return false;
  const bool hidden = MontageCovers() && !montage_.Visible(source_->CurrentFrame());
  source_->SetRasterOp(hidden ? RasterOperation::Invert : RasterOperation::Copy);
  if (!source_->Draw(target, sourceRect_)) {
    if (framework_ == VideoFramework::FFmpeg && onErrorText && !ffmpeg_.ErrorLines().empty())
      onErrorText(JoinedLines(ffmpeg_.ErrorLines()));
    return false;
  }
  if (onFrameChanged) onFrameChanged();
  return true;
}

}  // namespace kinovia
