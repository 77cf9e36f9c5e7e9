#pragma once
// ValueDialog, the dialog that asks every single number of pointing, tracking and recording,
// and the rules by which it accepts or refuses what was typed.
#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

#include "core/Message.h"

class QLabel;
class QLineEdit;

namespace kinovia {

class MessageBox;

enum class ValueKind {
  Angle,
  FrameRate,
  Length,
  MaxDistance,
  LastFrame,
  MarksDrawn,
  MarksPerFrame,
  FrameNumber,
  ObjectNumber,
  FramesBetweenMarks,
};

// Which segment's length the Length kind asks.
enum class LengthKind { Horizontal, Single, Vertical };

// What some ranges depend on.
struct ValueContext {
  int frameCount = 0;
  int marksPerFrame = 1;
  int firstTrackedImage = 0;
};

// Everything the dialog shows for one kind, and the range it accepts.
struct ValueField {
  std::string caption;
  std::string prompt;  // ends with " :"
  std::string explanation;
  std::string rangeText;
  bool integer = false;
  double min = 0;
  double max = 0;
  bool exclusive = false;  // the bounds themselves are refused
};

ValueField MakeValueField(ValueKind kind, const ValueContext& context);

// The accepted value, or the message that refuses the text.
struct ValueCheck {
  std::optional<double> value;
  Message refusal;
};
ValueCheck CheckValue(const ValueField& field, std::string_view typed);

class ValueDialog : public QDialog {
  Q_OBJECT

 public:
  ValueDialog(MessageBox& messages, QWidget* parent = nullptr);

  // Shows the dialog until an accepted value or Cancel; the value is never a refused one.
  std::optional<double> Ask(const ValueField& field, const std::string& initial);

 private:
  void onOkClicked();

  MessageBox& messages_;
  QLabel* prompt_ = nullptr;
  QLabel* explanation_ = nullptr;
  QLabel* range_ = nullptr;
  QLineEdit* edit_ = nullptr;
  ValueField field_;
  std::optional<double> value_;
};

}  // namespace kinovia
