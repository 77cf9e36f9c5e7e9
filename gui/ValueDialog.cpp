#include "gui/ValueDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "core/Numbers.h"
#include "core/TextFill.h"
#include "gui/MessageBox.h"
#include "gui/QtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"

namespace kinovia {
namespace {

ValueField Field(TxtId caption, TxtId prompt, std::string range, bool integer, double min,
                 double max) {
  ValueField field;
  field.caption = Txt(caption);
  field.prompt = Txt(prompt) + " :";
  field.rangeText = std::move(range);
  field.integer = integer;
  field.min = min;
  field.max = max;
  return field;
}

ValueField IntegerField(TxtId caption, TxtId prompt, TxtId range, int min, int max) {
  return Field(caption, prompt, FillNumbers(range, {min, max}), true, min, max);
}

bool InRange(const ValueField& field, double v) {
  return field.exclusive ? (v > field.min && v < field.max) : (v >= field.min && v <= field.max);
}

Message RangeRefusal(const ValueField& field, std::string_view typed) {
  Message message;
  message.icon = MessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.Line(Txt(txt::NumberRejectedValue) + " " + std::string(typed))
      .Blank()
      .Line(txt::ValeurRangeRefused)
      .Blank()
      .Line(field.rangeText);
  return message;
}

}  // namespace

ValueField MakeValueField(ValueKind kind, const ValueContext& c) {
  using enum ValueKind;
  switch (kind) {
    case Angle:
      return Field(txt::ValeurAngleCaption, txt::ValeurAnglePrompt, Txt(txt::ValeurAngleRange),
                   false, -180, 180);
    case FrameRate:
      return Field(txt::ValeurCadenceCaption, txt::ValeurCadencePrompt,
                   Txt(txt::ValeurCadenceRange), false, 1, 100);
    case Length: {
      auto field = Field(txt::ValeurLongueurCaption, txt::ValeurLongueurPrompt,
                         Txt(txt::ValeurLongueurRange), false, 0.001, 1.5e13);
      field.exclusive = true;
      return field;
    }
    case MaxDistance: {
      auto field = IntegerField(txt::ValeurDMaxCaption, txt::ValeurDMaxPrompt, txt::ValeurDMaxRange,
                                10, 100);
      field.explanation = Txt(txt::ValeurDMaxExplanation);
      return field;
    }
    case LastFrame: {
      auto field = IntegerField(txt::ValeurLastImgCaption, txt::ValeurLastImgPrompt,
                                txt::ValeurNumberRange, c.firstTrackedImage + 2, c.frameCount);
      field.explanation = Txt(txt::ValeurLastImgExplanation);
      return field;
    }
    case MarksDrawn:
      return Field(txt::ValeurNbMqDrawnCaption, txt::ValeurNbMqDrawnPrompt,
                   Txt(txt::ValeurNbMqDrawnRange), true, 1, std::numeric_limits<int>::max());
    case MarksPerFrame:
      return IntegerField(txt::ValeurNbMqParImgCaption, txt::ValeurNbMqParImgPrompt,
                          txt::ValeurNumberRange, 1, 32);
    case FrameNumber:
      return IntegerField(txt::ValeurNumImgCaption, txt::ValeurNumImgPrompt, txt::ValeurNumberRange,
                          1, c.frameCount);
    case ObjectNumber: {
      auto field = IntegerField(txt::ValeurNumOrdreCaption, txt::ValeurNumOrdrePrompt,
                                txt::ValeurNumberRange, 1, c.marksPerFrame);
      field.explanation = Txt(txt::ValeurNumOrdreExplanation);
      return field;
    }
    case FramesBetweenMarks: {
      auto field = IntegerField(txt::ValeurNbImgStepCaption, txt::ValeurNbImgStepPrompt,
                                txt::ValeurNumberRange, 1, c.frameCount - 1);
      field.explanation = Txt(txt::ValeurNbImgStepExplanation);
      return field;
    }
  }
  return {};
}

ValueCheck CheckValue(const ValueField& field, std::string_view typed) {
  std::optional<double> value;
  if (field.integer) {
    if (const auto i = TextToInteger(typed)) value = double(*i);
  } else {
    value = TextToReal(NormalizeDecimalSeparator(typed));  // "," and "." are both typed
  }
  if (!value)
    return {std::nullopt,
            NumberRejectedMessage(typed, field.integer ? NumberField::Integer : NumberField::Real)};
  if (!InRange(field, *value)) return {std::nullopt, RangeRefusal(field, typed)};
  return {value, {}};
}

ValueDialog::ValueDialog(MessageBox& messages, QWidget* parent)
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
  connect(buttons, &QDialogButtonBox::accepted, this, &ValueDialog::onOkClicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  for (QWidget* w : {static_cast<QWidget*>(explanation_), static_cast<QWidget*>(prompt_),
                     static_cast<QWidget*>(edit_), static_cast<QWidget*>(range_),
                     static_cast<QWidget*>(buttons)})
    column->addWidget(w);
}

std::optional<double> ValueDialog::Ask(const ValueField& field, const std::string& initial) {
  field_ = field;
  value_.reset();
  setWindowTitle(QString::fromStdString(field.caption));
  prompt_->setText(QString::fromStdString(field.prompt));
  explanation_->setText(QString::fromStdString(field.explanation));
  explanation_->setVisible(!field.explanation.empty());
  range_->setText(QString::fromStdString(field.rangeText));
  edit_->setText(QString::fromStdString(initial));
  edit_->selectAll();
  edit_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return value_;
}

void ValueDialog::onOkClicked() {
  const auto check = CheckValue(field_, edit_->text().trimmed().toStdString());
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
