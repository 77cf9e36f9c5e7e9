#pragma once
// The interval dialog: keep the clip's own time between frames, or type another one.
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kinovia {

class MessageBox;

class IntervalDialog : public QDialog {
  Q_OBJECT

 public:
  IntervalDialog(MessageBox& messages, QWidget* parent = nullptr);

  // The interval chosen, in seconds; nullopt when cancelled. Never a refused value.
  std::optional<double> Ask(double framesPerSecond, double clipInterval);

 private:
  void onOkClicked();

  MessageBox& messages_;
  QLineEdit* other_ = nullptr;
  QRadioButton* useDefault_ = nullptr;
  QRadioButton* useOther_ = nullptr;
  QLabel* facts_ = nullptr;
  double clipInterval_ = 0;
  std::optional<double> value_;
};

}  // namespace kinovia
