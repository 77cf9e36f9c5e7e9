#include "gui/montage/MissingFrameDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Numbers.h"
#include "gui/QtText.h"
#include "logic/montage/Montage.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

namespace {

QString TimeText(double seconds) { return QString::fromStdString(FormatValue(0, seconds)); }

// The line with its time, or nothing when there is no such frame.
QString NeighbourLine(TxtId pattern, double seconds) {
  return seconds < 0 ? QString() : QTxt(pattern).replace("%s", TimeText(seconds));
}

}  // namespace

MissingFrameDialog::MissingFrameDialog(Montage& montage, QWidget* parent)
    : QDialog(parent), montage_(montage) {
  setObjectName("BoiteInstant");
  setWindowTitle(QTxt(txt::InstantCaption));
  auto* column = new QVBoxLayout(this);
  auto* first = new QLabel(QTxt(txt::InstantLine1), this);
  first->setWordWrap(true);
  column->addWidget(first);
  intervalLine_ = new QLabel(this);
  column->addWidget(intervalLine_);
  column->addWidget(new QLabel(QTxt(txt::InstantOrigin), this));
  previous_ = new QLabel(this);
  previous_->setObjectName("LabelPrevious");
  column->addWidget(previous_);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QTxt(txt::InstantCurrent), this));
  time_ = new QLineEdit(this);
  time_->setObjectName("EditInstant");
  time_->setReadOnly(true);
  row->addWidget(time_);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  for (const auto& [arrow, direction, name] :
       {std::tuple{Qt::UpArrow, +1, "UpDownInstantUp"}, {Qt::DownArrow, -1, "UpDownInstantDown"}}) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    connect(button, &QToolButton::clicked, this, [this, d = direction] { Step(d); });
    arrows->addWidget(button);
  }
  row->addLayout(arrows);
  column->addLayout(row);
  next_ = new QLabel(this);
  next_->setObjectName("LabelNext");
  column->addWidget(next_);
  auto* ok = new QPushButton(QTxt(txt::ButtonOkAccel), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  column->addWidget(ok, 0, Qt::AlignRight);
  auto* status = new QLabel(QTxt(txt::InstantPractice), this);
  status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  column->addWidget(status);
}

void MissingFrameDialog::Run(std::int32_t current, double interval) {
  current_ = current;
  interval_ = interval;
  intervalLine_->setText(QTxt(txt::InstantInterval).replace("%s", TimeText(interval)));
  ShowTimes();
  exec();
}

bool MissingFrameDialog::Step(int direction) {
  if (!montage_.ShiftFromCurrentFrame(current_, direction)) return false;
  ShowTimes();
  return true;
}

void MissingFrameDialog::ShowTimes() {
  previous_->setText(NeighbourLine(
      txt::InstantPrevious, montage_.NeighbourTime(Neighbour::Previous, current_, interval_)));
  next_->setText(NeighbourLine(txt::InstantNext,
                               montage_.NeighbourTime(Neighbour::Next, current_, interval_)));
  time_->setText(TimeText(montage_.NeighbourTime(Neighbour::Current, current_, interval_)) +
                 QTxt(txt::InstantSeconds));
}

}  // namespace kinovia
