#pragma once
// The capture mode of the main window: the live preview in the video area, the device and its
// settings, the start/stop command with the one-second clock, and saving what was captured.
#include <QImage>
#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "gui/capture/CaptureDialog.h"
#include "logic/capture/CaptureChoices.h"
#include "logic/capture/CaptureSchedule.h"
#include "media/capture/CaptureEngine.h"

class QAction;
class QFileSystemWatcher;
class QTimer;

namespace kinovia {

// What the mode asks of the main window.
struct CaptureHost {
  std::function<void(const Message&)> showMessage;
  // The save dialog in `folder`; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& folder)> askSaveName;
  std::function<std::string()> lastFolder;
  std::function<void(const std::string&)> rememberFolder;
  std::function<void(const QString&)> status;
  std::function<void()> beep;
};

// The picture of the connected device, scaled to the area with its proportions kept.
class CapturePreview : public QWidget {
 public:
  explicit CapturePreview(QWidget* parent);
  void SetFrame(QImage frame);
  const QImage& Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage frame_;
};

class CaptureMode : public QObject {
  Q_OBJECT

 public:
  CaptureMode(CaptureHost host, QWidget* window);
  ~CaptureMode() override;

  CapturePreview* Preview() const { return preview_; }
  const std::vector<QAction*>& ToolBarActions() const { return toolBar_; }

  // Connects the chosen device (asking for one when none is); false when none could be.
  bool Enter();
  // Stops a running capture, offering its file, and releases the device.
  void Leave();
  // The start/stop command.
  void StartStop();
  // The clock's second; public so tests can run it without waiting.
  void Tick();
  void OpenDialog(CapturePage page);
  // Watches `folder` for cameras plugged in or out while the mode is on ("/dev" from Enter).
  void WatchDevices(const QString& folder);

  bool Capturing() const { return engine_.Capturing(); }
  bool Waiting() const { return timer_running_ && !engine_.Capturing(); }
  const CaptureEngine& Engine() const { return engine_; }
  const CaptureChoice& Choice() const { return choice_; }
  const std::string& TemporaryFile() const { return temporary_; }

 signals:
  void stateChanged();
  void saved(const QString& fileName);

 private:
  QAction* AddButton(TxtId hint, const char* name, int icon, std::function<void()> command);
  void ReadSettings();
  void WriteSettings();
  bool Connect();
  void StartNow();
  void Stop();
  void Save();
  void ShowNewestFrame();
  void ShowStatus();
  void UpdateButtons();
  CaptureFormat ChosenFormat() const;
  void DeviceNodesChanged();
  // The device list read again, the chosen device kept by its name; gone, it is released.
  void RelistDevices();

  CaptureHost host_;
  QWidget* window_;
  CapturePreview* preview_;
  CaptureDialog* dialog_ = nullptr;
  QTimer* clock_;
  QTimer* previewTimer_;
  QFileSystemWatcher* deviceWatcher_ = nullptr;
  QTimer* settleTimer_;  // lets the system create or remove a camera's several nodes first
  QString deviceFolder_;
  std::vector<std::string> deviceNodes_;
  bool timer_running_ = false;
  CaptureEngine engine_;
  CaptureSchedule schedule_;
  std::vector<CaptureDevice> devices_;
  CaptureChoice choice_;
  std::optional<CaptureSettings> settings_;  // once read
  std::string temporary_;
  std::uint64_t seenFrame_ = 0;
  Bitmap frame_;
  std::vector<QAction*> toolBar_;
  QAction* recordButton_ = nullptr;
};

}  // namespace kinovia
