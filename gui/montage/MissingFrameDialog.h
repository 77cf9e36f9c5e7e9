#pragma once
// The dialog that corrects the instant of the current frame when frames are missing before it:
// each click of its up-down button moves the frame and every later one by one interval.
#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace kinovia {

class Montage;

class MissingFrameDialog : public QDialog {
  Q_OBJECT

 public:
  MissingFrameDialog(Montage& montage, QWidget* parent = nullptr);

  // Opens modally on source frame `current` (a visible one) of a clip of interval `interval`.
  void Run(std::int32_t current, double interval);
  // One click of the up-down button: +1 up, -1 down. False when the montage refused it.
  bool Step(int direction);

 private:
  void ShowTimes();

  Montage& montage_;
  std::int32_t current_ = 0;
  double interval_ = 0;
  QLabel* intervalLine_ = nullptr;
  QLabel* previous_ = nullptr;
  QLabel* next_ = nullptr;
  QLineEdit* time_ = nullptr;
};

}  // namespace kinovia
