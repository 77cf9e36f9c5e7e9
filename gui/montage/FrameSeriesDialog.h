#pragma once
// The dialog that hides or shows a series of frames typed as numbers and groups
// ("1-55 ; 58 ; 73-165") or chosen as every even or odd frame.
#include <QDialog>
#include <functional>

#include "core/Message.h"
#include "logic/montage/MontageSelection.h"

class QComboBox;
class QRadioButton;

namespace kinovia {

class FrameSeriesDialog : public QDialog {
  Q_OBJECT

 public:
  // `showMessage` shows a warning in the program's message box.
  FrameSeriesDialog(Montage& montage, std::function<int(const Message&)> showMessage,
                    QWidget* parent = nullptr);

  // Opens modally with the action used last preselected; true when frames were changed.
  bool Run();
  MontageAction LastAction() const { return action_; }

 private:
  void Apply();
  SelectionSource Source() const;

  Montage& montage_;
  std::function<int(const Message&)> showMessage_;
  QRadioButton* hide_ = nullptr;
  QRadioButton* show_ = nullptr;
  QComboBox* frames_ = nullptr;
  MontageAction action_ = MontageAction::Hide;
  bool changed_ = false;
};

}  // namespace kinovia
