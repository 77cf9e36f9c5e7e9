#pragma once
// The capture settings dialog: device, compression, format, rate and automation pages.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "logic/capture/CaptureSchedule.h"
#include "media/capture/CaptureDevices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace kinovia {

struct CaptureChoice {
  int device = -1;  // in the one device list; -1: none chosen
  int format = 0;
  int codec = 0;
  int jpegQuality = kCaptureJpegQualityDefault;  // set through "Configurar"
  int rate = 30;                                 // the rate page's frames per second
  CaptureTiming timing;
};

enum class CapturePage { Device = 0, Compression, Format, Rate, Automation };

inline constexpr int kCaptureRates[] = {60, 30, 25, 20, 15, 10};

class CaptureDialog : public QDialog {
  Q_OBJECT

 public:
  // `formatsOf` gives the format names of a device of the list; `ratePage` whether a device
  // takes its rate from the rate page (the first framework's devices).
  CaptureDialog(QStringList devices, std::vector<CaptureCodec> codecs,
                std::function<QStringList(int device)> formatsOf,
                std::function<bool(int device)> ratePage, QWidget* parent);

  // Opens on `page`; the new choice, or nothing when cancelled. Cancelling on the device page
  // clears the device choice.
  std::optional<CaptureChoice> Ask(const CaptureChoice& current, CapturePage page);

 private:
  QWidget* DevicePage();
  QWidget* CompressionPage();
  QWidget* FormatPage();
  QWidget* RatePage();
  QWidget* AutomationPage();
  void DeviceChosen(int row);
  void Fill(const CaptureChoice& choice);
  CaptureChoice Read() const;
  void EnableAutomation();
  // The chosen compressor's settings: Motion-JPEG's quality.
  void Configure();

  QStringList devices_;
  std::vector<CaptureCodec> codecs_;
  int jpegQuality_ = kCaptureJpegQualityDefault;
  std::function<QStringList(int)> formatsOf_;
  std::function<bool(int)> ratePage_;
  QTabWidget* pages_ = nullptr;
  QListWidget* deviceList_ = nullptr;
  QListWidget* codecList_ = nullptr;
  QLabel* codecLabel_ = nullptr;
  QPushButton* configure_ = nullptr;
  QListWidget* formatList_ = nullptr;
  QListWidget* rateList_ = nullptr;
  QWidget* ratePageWidget_ = nullptr;
  QCheckBox* delayBox_ = nullptr;
  QComboBox* delayField_ = nullptr;
  QCheckBox* beepBox_ = nullptr;
  QCheckBox* durationBox_ = nullptr;
  QComboBox* durationField_ = nullptr;
};

}  // namespace kinovia
