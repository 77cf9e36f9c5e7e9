#include "gui/capture/CaptureMode.h"

#include <QAction>
#include <QFileSystemWatcher>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <filesystem>

#include "core/TempFolder.h"
#include "gui/QtText.h"
#include "logic/capture/CaptureSaving.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsFile.h"
#include "resources/TxtCapture.h"
#include "resources/TxtCommon.h"

namespace kinovia {

namespace {

constexpr int kPreviewMs = 33;
// How long a camera's nodes take to come or go together, so one plug gives one message.
constexpr int kDeviceSettleMs = 300;

Message Warning(TxtId line) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(line);
  return m;
}

class WindowCaptureSaveUi : public CaptureSaveUi {
 public:
  explicit WindowCaptureSaveUi(const CaptureHost& host) : host_(host) {}
  std::optional<std::string> AskSaveName(const std::string& folder) override {
    return host_.askSaveName(folder);
  }
  void ShowMessage(const Message& message) override { host_.showMessage(message); }
  void RememberFolder(const std::string& folder) override { host_.rememberFolder(folder); }

 private:
  const CaptureHost& host_;
};

}  // namespace

CapturePreview::CapturePreview(QWidget* parent) : QWidget(parent) {
  setObjectName("CapturePreview");
  setMinimumSize(160, 120);
}

void CapturePreview::SetFrame(QImage frame) {
  frame_ = std::move(frame);
  update();
}

void CapturePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::darkGray);
  if (frame_.isNull()) return;
  const QSize size = frame_.size().scaled(this->size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, frame_);
}

CaptureMode::CaptureMode(CaptureHost host, QWidget* window)
    : QObject(window),
      host_(std::move(host)),
      window_(window),
      preview_(new CapturePreview(window)),
      clock_(new QTimer(this)),
      previewTimer_(new QTimer(this)),
      settleTimer_(new QTimer(this)) {
  preview_->hide();
  settleTimer_->setSingleShot(true);
  settleTimer_->setInterval(kDeviceSettleMs);
  connect(settleTimer_, &QTimer::timeout, this, &CaptureMode::DeviceNodesChanged);
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, &CaptureMode::Tick);
  previewTimer_->setInterval(kPreviewMs);
  connect(previewTimer_, &QTimer::timeout, this, &CaptureMode::ShowNewestFrame);
  AddButton(txt::CaptureButtonDevice, "ButtonCapDevice", QStyle::SP_ComputerIcon,
            [this] { OpenDialog(CapturePage::Device); });
  AddButton(txt::CaptureButtonCompression, "ButtonCapCompression", QStyle::SP_DriveHDIcon,
            [this] { OpenDialog(CapturePage::Compression); });
  AddButton(txt::CaptureButtonFormat, "ButtonCapFormat", QStyle::SP_FileDialogDetailedView,
            [this] { OpenDialog(CapturePage::Format); });
  AddButton(txt::CaptureButtonRate, "ButtonCapVitesse", QStyle::SP_MediaSeekForward,
            [this] { OpenDialog(CapturePage::Rate); });
  AddButton(txt::CaptureButtonTimer, "ButtonCapTimer", QStyle::SP_BrowserReload,
            [this] { OpenDialog(CapturePage::Automation); });
  AddButton(txt::CaptureButtonConfigure, "ButtonCapConfigurer", QStyle::SP_FileDialogInfoView,
            [this] { OpenDialog(CapturePage::Format); });
  recordButton_ = AddButton(txt::CaptureButtonRecord, "ButtonCapEnregistrer", QStyle::SP_MediaPlay,
                            [this] { StartStop(); });
}

CaptureMode::~CaptureMode() {
  clock_->stop();
  engine_.Disconnect();
  if (!temporary_.empty()) std::filesystem::remove(temporary_);
  WriteSettings();
}

QAction* CaptureMode::AddButton(TxtId hint, const char* name, int icon,
                                std::function<void()> command) {
  auto* action =
      new QAction(window_->style()->standardIcon(QStyle::StandardPixmap(icon)), QTxt(hint), this);
  action->setObjectName(name);
  action->setToolTip(QTxt(hint));
  connect(action, &QAction::triggered, this, std::move(command));
  toolBar_.push_back(action);
  return action;
}

void CaptureMode::ReadSettings() {
  settings_ = CaptureSettings::Read(ReadOptionsFile(OptionsFilePath()));
  devices_ = ListCaptureDevices();
  std::vector<std::string> names;
  for (const auto& d : devices_) names.push_back(d.name);
  // The remembered device in its remembered framework; gone, it stays unchosen.
  const int firstCount = CountOf(devices_, CaptureFramework::Libav);
  for (int i = 0; i < int(devices_.size()); ++i) {
    if (SlotOfDevice(i, firstCount).framework == settings_->framework &&
        FindByName({names[std::size_t(i)]}, settings_->device)) {
      choice_.device = i;
      break;
    }
  }
  if (choice_.device >= 0) {
    std::vector<std::string> formats;
    for (const auto& f : FormatsOf(devices_[std::size_t(choice_.device)]))
      formats.push_back(f.Name());
    choice_.format = FindByName(formats, settings_->format).value_or(0);
  }
  std::vector<std::string> codecs;
  for (const auto& c : CaptureCodecs()) codecs.push_back(c.name);
  choice_.codec = FindByName(codecs, settings_->codec, 1).value_or(0);
}

void CaptureMode::WriteSettings() {
  if (!settings_) return;
  if (choice_.device >= 0 && choice_.device < int(devices_.size())) {
    const auto& device = devices_[std::size_t(choice_.device)];
    settings_->framework = device.framework;
    settings_->device = device.name;
    settings_->format = ChosenFormat().Name();
  }
  settings_->codec = CaptureCodecs()[std::size_t(choice_.codec)].name;
  UpdateOptionsFile(OptionsFilePath(), [this](IniFile& ini) { settings_->Write(ini); });
}

CaptureFormat CaptureMode::ChosenFormat() const {
  const auto formats = FormatsOf(devices_[std::size_t(choice_.device)]);
  if (formats.empty()) return {};
  CaptureFormat format =
      formats[std::size_t(std::clamp(choice_.format, 0, int(formats.size()) - 1))];
  // The first framework's devices take the rate page's rate.
  if (devices_[std::size_t(choice_.device)].framework == CaptureFramework::Libav &&
      !devices_[std::size_t(choice_.device)].testPattern)
    format.SetRate(choice_.rate);
  return format;
}

bool CaptureMode::Connect() {
  engine_.Disconnect();
  preview_->SetFrame({});
  if (choice_.device < 0 || choice_.device >= int(devices_.size())) return false;
  const auto connected = engine_.Connect(devices_[std::size_t(choice_.device)], ChosenFormat());
  if (!connected) {
    host_.showMessage(connected.Failure());
    return false;
  }
  previewTimer_->start();
  return true;
}

bool CaptureMode::Enter() {
  if (settings_)
    RelistDevices();
  else
    ReadSettings();
  if (devices_.empty()) {
    host_.showMessage(Warning(txt::CaptureNoDevice));
    return false;
  }
  if (!Connect()) OpenDialog(CapturePage::Device);
  if (!engine_.Connected()) return false;
  preview_->show();
  UpdateButtons();
  WatchDevices(QStringLiteral("/dev"));
  return true;
}

void CaptureMode::WatchDevices(const QString& folder) {
  delete deviceWatcher_;
  deviceFolder_ = folder;
  deviceNodes_ = VideoDeviceNodes(folder.toStdString());
  deviceWatcher_ = new QFileSystemWatcher({folder}, this);
  connect(deviceWatcher_, &QFileSystemWatcher::directoryChanged, settleTimer_,
          qOverload<>(&QTimer::start));
}

void CaptureMode::DeviceNodesChanged() {
  if (!deviceWatcher_) return;
  auto nodes = VideoDeviceNodes(deviceFolder_.toStdString());
  const DeviceNodesChange change = CompareDeviceNodes(deviceNodes_, nodes);
  deviceNodes_ = std::move(nodes);
  if (change == DeviceNodesChange::None) return;
  // A capture running on a device that left ends by itself, its file kept.
  if (!engine_.Capturing() && !timer_running_) RelistDevices();
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  host_.showMessage(m.Line(change == DeviceNodesChange::Removed ? txt::CaptureDeviceRemoved
                                                                : txt::CaptureDeviceReconnected));
}

void CaptureMode::RelistDevices() {
  const std::string chosen =
      choice_.device >= 0 ? ListedName(devices_[std::size_t(choice_.device)]) : std::string();
  devices_ = ListCaptureDevices();
  const auto kept = std::find_if(devices_.begin(), devices_.end(),
                                 [&](const CaptureDevice& d) { return ListedName(d) == chosen; });
  choice_.device = kept == devices_.end() ? -1 : int(kept - devices_.begin());
  if (choice_.device < 0) {
    previewTimer_->stop();
    engine_.Disconnect();
    preview_->SetFrame({});
  } else if (!engine_.Connected() && deviceWatcher_) {
    Connect();
  }
  UpdateButtons();
}

void CaptureMode::Leave() {
  delete std::exchange(deviceWatcher_, nullptr);
  settleTimer_->stop();
  if (engine_.Capturing() || timer_running_) Stop();
  previewTimer_->stop();
  engine_.Disconnect();
  preview_->hide();
  host_.status(QString());
}

void CaptureMode::OpenDialog(CapturePage page) {
  if (engine_.Capturing()) return;
  QStringList devices;
  for (const auto& d : devices_) devices << QString::fromStdString(ListedName(d));
  CaptureDialog dialog(
      devices, CaptureCodecs(),
      [this](int device) {
        QStringList names;
        for (const auto& f : FormatsOf(devices_[std::size_t(device)]))
          names << QString::fromStdString(f.Name());
        return names;
      },
      [this](int device) {
        const auto& d = devices_[std::size_t(device)];
        return d.framework == CaptureFramework::Libav && !d.testPattern;
      },
      window_);
  const auto chosen = dialog.Ask(choice_, page);
  if (!chosen) return;
  const bool reconnect = chosen->device != choice_.device || chosen->format != choice_.format ||
                         chosen->rate != choice_.rate || !engine_.Connected();
  choice_ = *chosen;
  if (choice_.device < 0) {
    engine_.Disconnect();
    preview_->SetFrame({});
  } else if (reconnect) {
    Connect();
  }
  UpdateButtons();
}

void CaptureMode::StartStop() {
  if (engine_.Capturing() || timer_running_) return Stop();
  if (!engine_.Connected() && !Connect()) return;
  temporary_ = TemporaryCaptureName(TemporaryFolder(), [](const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
  });
  if (schedule_.Begin(choice_.timing)) StartNow();
  timer_running_ = true;
  clock_->start();
  ShowStatus();
  UpdateButtons();
}

void CaptureMode::StartNow() {
  const auto codec = CaptureCodecs()[std::size_t(choice_.codec)].compression;
  if (const auto started = engine_.StartCapture(temporary_, codec, choice_.jpegQuality); !started) {
    host_.showMessage(started.Failure());
    Stop();
    return;
  }
  emit stateChanged();
  UpdateButtons();
}

void CaptureMode::Tick() {
  // A device pulled out mid-capture: what it gave is kept and offered like any other capture.
  if (timer_running_ && engine_.Lost()) {
    host_.showMessage(Warning(txt::CaptureDeviceLost));
    return Stop();
  }
  const TickAction action = schedule_.Tick(engine_.Capturing());
  ShowStatus();
  if (action == TickAction::Start) {
    if (schedule_.BeepOnStart()) host_.beep();
    StartNow();
  } else if (action == TickAction::Stop) {
    Stop();
  }
}

void CaptureMode::Stop() {
  clock_->stop();
  timer_running_ = false;
  const auto stopped = engine_.StopCapture();
  if (!stopped) host_.showMessage(stopped.Failure());
  emit stateChanged();
  UpdateButtons();
  Save();
  // The preview comes back on the same device, if it is still there.
  if (!engine_.Connected()) Connect();
  host_.status(QString());
}

void CaptureMode::Save() {
  WindowCaptureSaveUi ui(host_);
  const auto result = SaveCapture(temporary_, host_.lastFolder(), ui);
  temporary_.clear();
  if (result.outcome == CaptureSaveOutcome::Saved) {
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::CaptureSaved).Blank().FileName(result.fileName);
    host_.showMessage(m);
    emit saved(QString::fromStdString(result.fileName));
  }
}

void CaptureMode::ShowNewestFrame() {
  if (!engine_.NewestFrame(frame_, seenFrame_)) return;
  const QImage view(frame_.pixels.data(), frame_.width, frame_.height, 3 * frame_.width,
                    QImage::Format_RGB888);
  preview_->SetFrame(view.copy());
}

void CaptureMode::ShowStatus() {
  host_.status(
      QString::fromStdString(CaptureStatusText(schedule_, engine_.Capturing(), engine_.Counts())));
}

void CaptureMode::UpdateButtons() {
  const bool busy = engine_.Capturing() || timer_running_;
  for (QAction* action : toolBar_) action->setEnabled(action == recordButton_ || !busy);
  recordButton_->setIcon(
      window_->style()->standardIcon(busy ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
}

}  // namespace kinovia
