#pragma once
// The montage mode of the main window: toggling the current frame, the series and missing-frame
// dialogs, recording the montage with its progress and stop, and where the video goes when the
// mode is left.
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "logic/montage/MontageSelection.h"
#include "logic/montage/RecordPlan.h"

class QAction;
class QWidget;

namespace kinovia {

class FrameSeriesDialog;
class MissingFrameDialog;
class RecordDialog;
class VideoControl;

// What the mode asks of the main window.
struct MontageHost {
  std::function<int(const Message&)> showMessage;
  // The toggle's information, with its check box "No volver a mostrar este mensaje".
  std::function<ToggleAnswer(const Message&)> askToggle;
  // Whether the option asks for the toggle's information.
  std::function<bool()> toggleInformation;
  std::function<int(std::int32_t sourceFrame)> marksOnFrame;
  // The video's current frame shown again after a change.
  std::function<void()> showFrame;
  // The recording's progress: 0 ... 100 shows it, 101 hides it.
  std::function<void(int percent)> progress;
  // The save dialog, opened in `folder` on `proposed`; nullopt when cancelled.
  std::function<std::optional<std::string>(const std::string& folder, const std::string& proposed)>
      askSaveName;
};

class MontageMode : public QObject {
  Q_OBJECT

 public:
  MontageMode(Montage& montage, VideoControl& video, MontageHost host, QWidget* window);
  ~MontageMode() override;

  const std::vector<QAction*>& ToolBarActions() const { return toolBar_; }
  void EnableCommands();

  void ToggleCurrentFrame();
  void HideOrShowSeries();
  void CorrectInstant();
  void Record();

  bool Recording() const { return recording_; }
  // The video's pause button: true when it stopped a recording.
  bool StopRecording();
  // Leaving puts the video on a visible frame; refused (false) while a recording runs.
  bool Leave();
  // The current frame's time shift, for the frame field ("" when there is none).
  std::string ShiftText() const;

  // The dialogs, for whoever drives them.
  FrameSeriesDialog* SeriesDialog() const { return series_; }
  MissingFrameDialog* InstantDialog() const { return instant_; }
  RecordDialog* RecordingDialog() const { return record_; }
  std::string LastFolder() const { return folder_; }
  void SetLastFolder(std::string folder) { folder_ = std::move(folder); }

 private:
  QAction* AddButton(TxtId caption, const char* name, void (MontageMode::*command)());
  void Changed();
  void ReadRemembered();
  std::optional<std::string> AskOutputName();
  void RecordTo(const RecordSettings& settings, const std::string& file);

  Montage& montage_;
  VideoControl& video_;
  MontageHost host_;
  QWidget* window_;
  std::vector<QAction*> toolBar_;
  QAction* instantButton_ = nullptr;
  FrameSeriesDialog* series_ = nullptr;
  MissingFrameDialog* instant_ = nullptr;
  RecordDialog* record_ = nullptr;
  bool remembered_ = false;
  RecordSettings settings_;
  std::string folder_;
  bool recording_ = false;
  bool abort_ = false;
};

}  // namespace kinovia
