#include "gui/ObjectNamesDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/QtText.h"
#include "gui/SessionPainter.h"
#include "logic/session/Session.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

constexpr int kSwatch = 24;

QIcon SymbolIcon(int object, std::uint32_t colour) {
  QPixmap pixmap(kSwatch, kSwatch);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  DrawMarkSymbol(painter, QPoint(kSwatch / 2, kSwatch / 2), object, 2, QColourOf(colour));
  return QIcon(pixmap);
}

std::uint32_t ToBgr(const QColor& c) {
  return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

}  // namespace

ObjectNamesDialog::ObjectNamesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QTxt(txt::NomCouleurCaption));
  auto* column = new QVBoxLayout(this);
  auto* examples = new QLabel(QTxt(txt::NomCouleurExamples), this);
  examples->setWordWrap(true);
  column->addWidget(examples);
  table_ = new QWidget(this);
  grid_ = new QGridLayout(table_);
  column->addWidget(table_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

void ObjectNamesDialog::Load(const Session& data, bool transparent) {
  rows_.clear();
  for (int o = 0; o < data.MarksPerFrame(); ++o)
    rows_.push_back({data.ObjectName(o), data.ObjectColour(o), data.ObjectVisible(o)});
  elementColour_ = data.ElementColour();
  Build(transparent);
}

void ObjectNamesDialog::Build(bool transparent) {
  while (QLayoutItem* item = grid_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (int row = 0; row < int(rows_.size()); ++row) {
    auto& data = rows_[std::size_t(row)];
    auto* symbol = new QPushButton(SymbolIcon(row, data.colour), QString(), table_);
    connect(symbol, &QPushButton::clicked, this, [this, row] { ChooseColour(row); });
    auto* number = new QLabel(QString::number(row + 1), table_);
    auto* visible = new QCheckBox(table_);
    visible->setChecked(data.visible);
    visible->setToolTip(QTxt(txt::NomCouleurVisibleHint));
    connect(visible, &QCheckBox::toggled, this,
            [this, row](bool on) { rows_[std::size_t(row)].visible = on; });
    auto* name = new QLineEdit(QString::fromStdString(data.name), table_);
    name->setToolTip(QTxt(txt::NomCouleurNameHint));
    connect(name, &QLineEdit::textChanged, this, [this, row](const QString& text) {
      rows_[std::size_t(row)].name = text.toStdString();
    });
    grid_->addWidget(symbol, row, 0);
    grid_->addWidget(number, row, 1);
    grid_->addWidget(visible, row, 2);
    grid_->addWidget(name, row, 3);
  }
  const int last = int(rows_.size());
  if (transparent) grid_->addWidget(new QLabel(QTxt(txt::NomCouleurTransparent), table_), last, 3);
  auto* element = new QPushButton(SymbolIcon(0, elementColour_), QString(), table_);
  connect(element, &QPushButton::clicked, this, [this] { ChooseColour(-1); });
  grid_->addWidget(element, last + 1, 0);
  grid_->addWidget(new QLabel(transparent ? QTxt(txt::NomCouleurElement) : QString(), table_),
                   last + 1, 3);
}

// Row -1 is the element colour (axes, scale and sheet).
void ObjectNamesDialog::ChooseColour(int row) {
  std::uint32_t& colour = row < 0 ? elementColour_ : rows_[std::size_t(row)].colour;
  const QColor chosen = QColorDialog::getColor(QColourOf(colour), this);
  if (!chosen.isValid()) return;
  colour = ToBgr(chosen);
  auto* button = qobject_cast<QPushButton*>(
      grid_->itemAtPosition(row < 0 ? int(rows_.size()) + 1 : row, 0)->widget());
  if (button) button->setIcon(SymbolIcon(std::max(row, 0), colour));
}

void ObjectNamesDialog::Store(Session& data) const {
  for (int o = 0; o < int(rows_.size()); ++o) {
    const auto& row = rows_[std::size_t(o)];
    data.SetObjectName(o, row.name);
    data.SetObjectColour(o, row.colour);
    data.SetObjectVisibility(o, row.visible);
  }
  data.SetElementColour(elementColour_);
}

}  // namespace kinovia
