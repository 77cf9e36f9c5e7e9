#pragma once
// TBoiteValeur, the dialog that asks every single number of pointing, tracking and recording,
// and the rules by which it accepts or refuses what was typed.
#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

#include "resources/UnitMessage.h"

class QLabel;
class QLineEdit;

namespace kinovia {

class TBoiteMessage;

enum class TSorteValeur {
  tsAngle,
  tsCadence,
  tsLongueur,
  tsDMax,
  tsLastImg,
  tsNbMqDrawn,
  tsNbMqParImg,
  tsNumImg,
  tsNumOrdre,
  tsNbImgStep,
};

// Which segment's length tsLongueur asks.
enum class TSorteLongueur { slLongueurH, slLongueurN, slLongueurV };

// What some ranges depend on.
struct TValeurContext {
  int frameCount = 0;
  int marksPerFrame = 1;
  int firstTrackedImage = 0;
};

// Everything the dialog shows for one kind, and the range it accepts.
struct TValeurField {
  std::string caption;
  std::string prompt;  // ends with " :"
  std::string explanation;
  std::string rangeText;
  bool integer = false;
  double min = 0;
  double max = 0;
  bool exclusive = false;  // the bounds themselves are refused
};

TValeurField MakeValeurField(TSorteValeur kind, const TValeurContext& context);

// The accepted value, or the message that refuses the text.
struct TValeurCheck {
  std::optional<double> value;
  TMessage refusal;
};
TValeurCheck CheckValeur(const TValeurField& field, std::string_view typed);

class TBoiteValeur : public QDialog {
  Q_OBJECT

 public:
  TBoiteValeur(TBoiteMessage& messages, QWidget* parent = nullptr);

  // Shows the dialog until an accepted value or Cancel; the value is never a refused one.
  std::optional<double> Ask(const TValeurField& field, const std::string& initial);

 private:
  void OkClick();

  TBoiteMessage& messages_;
  QLabel* prompt_ = nullptr;
  QLabel* explanation_ = nullptr;
  QLabel* range_ = nullptr;
  QLineEdit* edit_ = nullptr;
  TValeurField field_;
  std::optional<double> value_;
};

}  // namespace kinovia
