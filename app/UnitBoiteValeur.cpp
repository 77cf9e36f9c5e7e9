#include "app/UnitBoiteValeur.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "app/UnitMessageBox.h"
#include "app/UnitQtText.h"
#include "app/UnitTextFill.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"
#include "results/UnitMathUtils.h"

namespace kinovia {
namespace {

TValeurSpec Spec(TxtId caption, TxtId prompt, std::string range, bool integer, double min,
                 double max) {
  TValeurSpec spec;
  spec.caption = Txt(caption);
  spec.prompt = Txt(prompt) + " :";
  spec.rangeText = std::move(range);
  spec.integer = integer;
  spec.min = min;
  spec.max = max;
  return spec;
}

TValeurSpec IntegerSpec(TxtId caption, TxtId prompt, TxtId range, int min, int max) {
  return Spec(caption, prompt, FillNumbers(range, {min, max}), true, min, max);
}

bool InRange(const TValeurSpec& spec, double v) {
  return spec.exclusive ? (v > spec.min && v < spec.max) : (v >= spec.min && v <= spec.max);
}

TMessage RangeRefusal(const TValeurSpec& spec, std::string_view typed) {
  TMessage message;
  message.icon = TMessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.Line(Txt(txt::NumberRejectedValue) + " " + std::string(typed))
      .Blank()
      .Line(txt::ValeurRangeRefused)
      .Blank()
      .Line(spec.rangeText);
  return message;
}

}  // namespace

TValeurSpec MakeValeurSpec(TSorteValeur kind, const TValeurContext& c) {
  using enum TSorteValeur;
  switch (kind) {
    case tsAngle:
      return Spec(txt::ValeurAngleCaption, txt::ValeurAnglePrompt, Txt(txt::ValeurAngleRange),
                  false, -180, 180);
    case tsCadence:
      return Spec(txt::ValeurCadenceCaption, txt::ValeurCadencePrompt, Txt(txt::ValeurCadenceRange),
                  false, 1, 100);
    case tsLongueur: {
      auto spec = Spec(txt::ValeurLongueurCaption, txt::ValeurLongueurPrompt,
                       Txt(txt::ValeurLongueurRange), false, 0.001, 1.5e13);
      spec.exclusive = true;
      return spec;
    }
    case tsDMax: {
      auto spec =
          IntegerSpec(txt::ValeurDMaxCaption, txt::ValeurDMaxPrompt, txt::ValeurDMaxRange, 10, 100);
      spec.explanation = Txt(txt::ValeurDMaxExplanation);
      return spec;
    }
    case tsLastImg: {
      auto spec = IntegerSpec(txt::ValeurLastImgCaption, txt::ValeurLastImgPrompt,
                              txt::ValeurNumberRange, c.firstTrackedImage + 2, c.frameCount);
      spec.explanation = Txt(txt::ValeurLastImgExplanation);
      return spec;
    }
    case tsNbMqDrawn:
      return Spec(txt::ValeurNbMqDrawnCaption, txt::ValeurNbMqDrawnPrompt,
                  Txt(txt::ValeurNbMqDrawnRange), true, 1, std::numeric_limits<int>::max());
    case tsNbMqParImg:
      return IntegerSpec(txt::ValeurNbMqParImgCaption, txt::ValeurNbMqParImgPrompt,
                         txt::ValeurNumberRange, 1, 32);
    case tsNumImg:
      return IntegerSpec(txt::ValeurNumImgCaption, txt::ValeurNumImgPrompt, txt::ValeurNumberRange,
                         1, c.frameCount);
    case tsNumOrdre: {
      auto spec = IntegerSpec(txt::ValeurNumOrdreCaption, txt::ValeurNumOrdrePrompt,
                              txt::ValeurNumberRange, 1, c.marksPerFrame);
      spec.explanation = Txt(txt::ValeurNumOrdreExplanation);
      return spec;
    }
    case tsNbImgStep: {
      auto spec = IntegerSpec(txt::ValeurNbImgStepCaption, txt::ValeurNbImgStepPrompt,
                              txt::ValeurNumberRange, 1, c.frameCount - 1);
      spec.explanation = Txt(txt::ValeurNbImgStepExplanation);
      return spec;
    }
  }
  return {};
}

TValeurCheck CheckValeur(const TValeurSpec& spec, std::string_view typed) {
  std::optional<double> value;
  if (spec.integer) {
    if (const auto i = TextToInteger(typed)) value = double(*i);
  } else {
    value = TextToReal(NormalizeDecimalSeparator(typed));  // "," and "." are both typed
  }
  if (!value)
    return {std::nullopt, NumberRejectedMessage(
                              typed, spec.integer ? TNumberField::Integer : TNumberField::Real)};
  if (!InRange(spec, *value)) return {std::nullopt, RangeRefusal(spec, typed)};
  return {value, {}};
}

TBoiteValeur::TBoiteValeur(TBoiteMessage& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  prompt_ = new QLabel(this);
  explanation_ = new QLabel(this);
  explanation_->setWordWrap(true);
  range_ = new QLabel(this);
  edit_ = new QLineEdit(this);
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TBoiteValeur::OkClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  for (QWidget* w : {static_cast<QWidget*>(explanation_), static_cast<QWidget*>(prompt_),
                     static_cast<QWidget*>(edit_), static_cast<QWidget*>(range_),
                     static_cast<QWidget*>(buttons)})
    column->addWidget(w);
}

std::optional<double> TBoiteValeur::Ask(const TValeurSpec& spec, const std::string& initial) {
  spec_ = spec;
  value_.reset();
  setWindowTitle(QString::fromStdString(spec.caption));
  prompt_->setText(QString::fromStdString(spec.prompt));
  explanation_->setText(QString::fromStdString(spec.explanation));
  explanation_->setVisible(!spec.explanation.empty());
  range_->setText(QString::fromStdString(spec.rangeText));
  edit_->setText(QString::fromStdString(initial));
  edit_->selectAll();
  edit_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return value_;
}

void TBoiteValeur::OkClick() {
  const auto check = CheckValeur(spec_, edit_->text().trimmed().toStdString());
  if (!check.value) {
    messages_.Show(check.refusal);
    edit_->selectAll();
    edit_->setFocus();
    return;
  }
  value_ = check.value;
  accept();
}

}  // namespace kinovia
