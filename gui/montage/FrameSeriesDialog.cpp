#include "gui/montage/FrameSeriesDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/QtText.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

FrameSeriesDialog::FrameSeriesDialog(Montage& montage,
                                     std::function<int(const Message&)> showMessage,
                                     QWidget* parent)
    : QDialog(parent), montage_(montage), showMessage_(std::move(showMessage)) {
  setObjectName("BoiteBasculer");
  setWindowTitle(QTxt(txt::SeriesCaption));
  auto* column = new QVBoxLayout(this);
  for (TxtId line : {txt::SeriesLine1, txt::SeriesLine2, txt::SeriesLine3, txt::SeriesLine4})
    column->addWidget(new QLabel(QTxt(line), this));
  auto* group = new QGroupBox(QTxt(txt::SeriesAction), this);
  auto* choices = new QVBoxLayout(group);
  hide_ = new QRadioButton(QTxt(txt::SeriesHide), group);
  show_ = new QRadioButton(QTxt(txt::SeriesShow), group);
  choices->addWidget(hide_);
  choices->addWidget(show_);
  column->addWidget(group);
  auto* prompt = new QLabel(QTxt(txt::SeriesPrompt), this);
  prompt->setWordWrap(true);
  column->addWidget(prompt);
  frames_ = new QComboBox(this);
  frames_->setObjectName("ComboBoxImages");
  frames_->setEditable(true);
  frames_->setInsertPolicy(QComboBox::NoInsert);
  frames_->addItems({QTxt(txt::SeriesEven), QTxt(txt::SeriesOdd)});
  // Only digits, spaces, "-" and ";" can be typed; the list items are chosen, not typed.
  frames_->lineEdit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9 ;\\-]*"), frames_));
  connect(frames_, &QComboBox::activated, this,
          [this](int index) { frames_->lineEdit()->setText(frames_->itemText(index)); });
  column->addWidget(frames_);
  auto* ok = new QPushButton(QTxt(txt::ButtonOkAccel), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &FrameSeriesDialog::Apply);
  column->addWidget(ok, 0, Qt::AlignRight);
}

bool FrameSeriesDialog::Run() {
  (action_ == MontageAction::Show ? show_ : hide_)->setChecked(true);
  frames_->setCurrentIndex(-1);
  frames_->lineEdit()->clear();
  changed_ = false;
  exec();
  return changed_;
}

SelectionSource FrameSeriesDialog::Source() const {
  const QString text = frames_->currentText();
  if (text == frames_->itemText(0)) return SelectionSource::EvenFrames;
  if (text == frames_->itemText(1)) return SelectionSource::OddFrames;
  return SelectionSource::Typed;
}

void FrameSeriesDialog::Apply() {
  action_ = show_->isChecked() ? MontageAction::Show : MontageAction::Hide;
  const auto selection = ParseFrameSelection(Source(), frames_->currentText().toStdString(),
                                             montage_.FrameCount(), action_);
  if (!selection) {
    showMessage_(selection.Failure());
    return;  // the dialog stays open for a correction
  }
  const std::int32_t visibleBefore = montage_.VisibleCount();
  const auto applied = ApplyFrameSelection(montage_, selection.Value(), action_);
  changed_ = changed_ || montage_.VisibleCount() != visibleBefore;
  if (!applied) showMessage_(applied.Failure());
  accept();
}

}  // namespace kinovia
