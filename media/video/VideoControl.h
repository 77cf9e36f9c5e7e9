#pragma once
// The video control: which framework reads the open clip, the current frame and its numbering
// through the montage, stepping and playback, and the working mode of the main window.
//
// Threads: all of it belongs to the interface thread except the playback tick, which runs on the
// timer's thread and reads nothing but its PlaySnapshot: the source, the play range, a copy of the
// montage and the repaint request, taken when play starts and replaced whole when the interface
// thread changes the mode or the montage. Opening or closing a clip stops playback first.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/Message.h"
#include "logic/session/SessionPorts.h"
#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerSource.h"
#include "media/video/PlaybackTimer.h"

namespace kinovia {

class Montage;

enum class VideoFramework : std::uint8_t { Avi = 0, GStreamer = 1, FFmpeg = 2 };
enum class ViewToolKind : std::uint8_t { None = 0, Zoom = 1, Pan = 2 };

// The framework the extension asks for: ".avi" (and unknown extensions) our AVI reader, ".mpg",
// ".mpeg" and ".wmv" GStreamer, ".mov" and ".mp4" FFmpeg; case does not matter.
VideoFramework FrameworkForExtension(std::string_view fileName);

class VideoControl : public IVideoFacts {
 public:
  explicit VideoControl(Montage& montage);
  ~VideoControl() override;
  VideoControl(const VideoControl&) = delete;
  VideoControl& operator=(const VideoControl&) = delete;

  // Notifications to the main window; absent ones are skipped.
  std::function<void()> onFrameChanged;  // after a frame was drawn
  std::function<void()> onClipOpened;
  std::function<void()> onModeChanged;
  std::function<void()> onClipClosed;
  std::function<void()> onModeButtons;
  std::function<void(const std::string&)> onErrorText;
  std::function<void()> onViewToolChanged;
  // Where the clip's T goes (the session's interval), and the montage recorder's news.
  std::function<void(double)> onClipInterval;
  std::function<void()> onNewClipForRecorder;
  // Called on the playback timer's thread: post a repaint to the interface thread, nothing else.
  // Copied when play starts.
  std::function<void()> onRepaintRequest;
  // While a clip opens: the part read so far (0 to 1); answering false cancels the opening.
  std::function<bool(double)> onOpeningProgress;

  // Opens through the extension's framework, then the next ones; false leaves no clip open.
  bool Open(const std::string& fileName);
  // Opens through this framework only, without the extension rule or fallbacks.
  bool OpenWith(VideoFramework framework, const std::string& fileName);
  // The warning the main window shows after a failed Open of this file.
  Message OpenFailureMessage(const std::string& fileName) const;
  void Close();
  bool IsOpen() const { return source_ && source_->IsOpen(); }
  // The framework whose frames are served: FFmpeg for a clip GStreamer opened but whose seeks
  // missed in the check that follows the opening (it waits for that check).
  VideoFramework Framework() const;
  // The source serving the open clip, or nullptr.
  FrameSource* Source() const { return IsOpen() ? source_ : nullptr; }
  const std::string& LastErrorText() const { return lastErrorText_; }
  // True when the last Open failed because the user cancelled it (no failure to report then).
  bool OpeningCancelled() const { return source_ == nullptr && openingCancelled_; }

  int CurrentSourceFrame() const override;
  int CurrentMontageIndex() const override;
  int FrameCount() const override;
  int PictureWidth() const override;
  int PictureHeight() const override;
  WorkingMode WorkMode() const override { return workMode_; }
  int FrameTimeIndex(int sourceFrame) const override;
  void GoToMontageIndex(int n) override;
  void GoToSourceFrame(int sourceFrame) override { Seek(sourceFrame); }
  void Seek(int sourceFrame);

  double Interval() const;
  double FramesPerSecond() const;
  std::string FileName() const;

  // The stepping buttons; each answers whether the montage index changed (repaint needed).
  bool GoFirst();
  bool GoPrevious();
  bool GoNext();
  bool GoLast();
  void PlayToEnd() { Play(CurrentMontageIndex(), FrameCount() - 1); }

  void Play(int firstMontageIndex, int lastMontageIndex);
  void Stop();
  bool Playing() const { return timer_.Running(); }
  // One playback tick: advances to the next frame of the range, false once it is left or when
  // nothing plays. The timer calls it; a toolkit timer may call it instead.
  bool AdvancePlayback();
  // To be called after editing the montage, so that a playback goes on in the new frame order.
  void MontageChanged() { RetakeSnapshot(); }

  void SetWorkMode(WorkingMode mode);
  ViewToolKind ViewTool() const { return viewTool_; }
  void SetViewTool(ViewToolKind tool);

  // The rectangle of the picture shown; the whole picture after each opening.
  PictureRect SourceRect() const { return sourceRect_; }
  void SetSourceRect(PictureRect rect) { sourceRect_ = rect; }
  // Draws the current frame's shown rectangle into the whole bitmap (inverted when the montage
  // hides the frame) and notifies that the frame changed.
  bool Draw(Bitmap& target);

 private:
  struct PlaySnapshot;

  bool MontageCovers() const;
  bool MontageNumbers() const;
  int SourceOfMontageIndex(int n) const;
  std::shared_ptr<const PlaySnapshot> TakeSnapshot(int firstSource, int lastSource) const;
  void Publish(std::shared_ptr<const PlaySnapshot> snapshot);
  std::shared_ptr<const PlaySnapshot> Published() const;
  // Replaces a running playback's snapshot with one of the same range.
  void RetakeSnapshot();
  bool GoAndTell(int montageIndex);
  bool TryOpen(VideoFramework framework, const std::string& fileName);
  void CloseAll();
  bool Opened(bool open);

  Montage& montage_;
  AviFileSource aviSource_;
  GStreamerSource ds_;
  FFmpegSource ffmpeg_;
  FrameSource* source_ = nullptr;
  VideoFramework framework_ = VideoFramework::Avi;
  WorkingMode workMode_ = WorkingMode::None;
  ViewToolKind viewTool_ = ViewToolKind::None;
  std::string lastErrorText_;
  bool openingCancelled_ = false;
  double openingProgress_ = 0;  // the most reported while the clip opens
  PictureRect sourceRect_;
  mutable std::mutex playMutex_;  // guards playing_, the tick's only way into this control
  std::shared_ptr<const PlaySnapshot> playing_;
  PlaybackTimer timer_;
};

}  // namespace kinovia
