#include "gui/IntervalDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Numbers.h"
#include "gui/MessageBox.h"
#include "gui/QtText.h"
#include "logic/video/IntervalChoice.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

namespace kinovia {

IntervalDialog::IntervalDialog(MessageBox& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setWindowTitle(QTxt(txt::VideoIntervalTitle));
  facts_ = new QLabel(this);
  useDefault_ = new QRadioButton(this);
  useOther_ = new QRadioButton(QTxt(txt::VideoIntervalOther), this);
  other_ = new QLineEdit(this);
  connect(other_, &QLineEdit::textEdited, this, [this] { useOther_->setChecked(true); });
  auto* otherRow = new QHBoxLayout;
  otherRow->addWidget(useOther_);
  otherRow->addWidget(other_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &IntervalDialog::onOkClicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addWidget(facts_);
  column->addWidget(useDefault_);
  column->addLayout(otherRow);
  column->addWidget(buttons);
}

std::optional<double> IntervalDialog::Ask(double framesPerSecond, double clipInterval) {
  clipInterval_ = clipInterval;
  value_.reset();
  const QString rate = QString::fromStdString(FormatValue(0, framesPerSecond));
  const QString interval = QString::fromStdString(FormatValue(0, clipInterval));
  facts_->setText(QTxt(txt::VideoIntervalRateLine) + " " + rate + " " +
                  QTxt(txt::VideoIntervalRateUnit) + "\n" + QTxt(txt::VideoIntervalClipLine) + " " +
                  interval + " " + QTxt(txt::VideoIntervalSeconds));
  useDefault_->setText(QTxt(txt::VideoIntervalDefault) + interval + " " +
                       QTxt(txt::VideoIntervalSeconds));
  useDefault_->setChecked(true);
  other_->clear();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return value_;
}

void IntervalDialog::onOkClicked() {
  if (useDefault_->isChecked()) {
    value_ = clipInterval_;
    accept();
    return;
  }
  const auto parsed = ParseIntervalText(other_->text().trimmed().toStdString());
  if (!parsed) {
    messages_.Show(parsed.Failure());
    other_->selectAll();
    other_->setFocus();
    return;
  }
  value_ = parsed.Value();
  accept();
}

}  // namespace kinovia
