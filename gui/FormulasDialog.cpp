#include "gui/FormulasDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Numbers.h"
#include "gui/QtText.h"
#include "logic/formulas/ReadyMadeFormulas.h"
#include "logic/results/ResultsSource.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtFormulas.h"

namespace kinovia {
namespace {

constexpr int kPreviewRows = 5;
const char* const kTerms[] = {"+",    "-",    "*",       "/",       "^",       "(",
                              ")",    ";",    "[i-1]",   "[i+1]",   "pi",      "sin(",
                              "cos(", "tan(", "ArcSin(", "ArcCos(", "ArcTan(", "ln(",
                              "log(", "exp(", "abs(",    "sqrt("};

std::string CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text().trimmed().toStdString() : std::string();
}

void SetRow(QTableWidget* table, int row, const std::vector<std::string>& texts) {
  for (std::size_t c = 0; c < texts.size(); ++c)
    table->setItem(row, int(c), new QTableWidgetItem(QString::fromStdString(texts[c])));
}

QString ValuesText(const std::vector<double>& values, int firstRowNumber) {
  QString text;
  for (int i = 0; i < kPreviewRows && i < int(values.size()); ++i)
    text += QString("%1 : %2   ")
                .arg(i + firstRowNumber)
                .arg(QString::fromStdString(FormatValue(0, values[std::size_t(i)])));
  return text;
}

}  // namespace

FormulasDialog::FormulasDialog(const FormulaSet& set, Context context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  setWindowTitle(QTxt(txt::FormulasCaption));
  variables_ = new QTableWidget(0, 4, this);
  constants_ = new QTableWidget(0, 4, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QTxt(txt::FormulasVariables)));
  layout->addWidget(
      BuildTablePanel(variables_, {QTxt(txt::FormulasName), QTxt(txt::FormulasFormula),
                                   QTxt(txt::FormulasUnit), QTxt(txt::FormulasComment)}));
  layout->addWidget(new QLabel(QTxt(txt::FormulasConstants)));
  layout->addWidget(
      BuildTablePanel(constants_, {QTxt(txt::FormulasName), QTxt(txt::FormulasIndex),
                                   QTxt(txt::FormulasValue), QTxt(txt::FormulasUnit)}));
  preview_ = new QLabel(this);
  preview_->setWordWrap(true);
  preview_->setMinimumHeight(40);
  layout->addWidget(preview_);
  layout->addWidget(new QLabel(QTxt(txt::FormulasKeyboard)));
  layout->addWidget(BuildKeyboard());

  auto* calculatorRow = new QHBoxLayout;
  calculator_ = new QLineEdit(this);
  calculatorResult_ = new QLabel(this);
  calculatorRow->addWidget(new QLabel(QTxt(txt::FormulasCalculator)));
  calculatorRow->addWidget(calculator_, 1);
  calculatorRow->addWidget(new QLabel("="));
  calculatorRow->addWidget(calculatorResult_, 1);
  calculatorRow->addWidget(
      new QLabel(QTxt(context_.settings.radians ? txt::FormulasRadians : txt::FormulasDegrees)));
  layout->addLayout(calculatorRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->addButton(BuildReadyMadeButton(), QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  Fill(set);
  for (QTableWidget* table : {variables_, constants_}) {
    connect(table, &QTableWidget::cellChanged, this, &FormulasDialog::UpdatePreview);
    connect(table, &QTableWidget::currentCellChanged, this, [this, table] {
      lastEdited_ = table;
      UpdatePreview();
    });
  }
  connect(calculator_, &QLineEdit::textChanged, this, &FormulasDialog::UpdateCalculator);
  lastEdited_ = variables_;
  resize(760, 640);
  UpdatePreview();
}

QWidget* FormulasDialog::BuildTablePanel(QTableWidget* table, const QStringList& headers) {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  table->setHorizontalHeaderLabels(headers);
  table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  row->addWidget(table, 1);
  auto* buttons = new QVBoxLayout;
  const std::pair<TxtId, std::function<void()>> actions[] = {
      {txt::FormulasAdd,
       [this, table] {
         table->insertRow(table->rowCount());
         table->setCurrentCell(table->rowCount() - 1, 0);
       }},
      {txt::FormulasRemove,
       [this, table] {
         if (table->currentRow() >= 0) table->removeRow(table->currentRow());
         UpdatePreview();
       }},
      {txt::FormulasUp, [this, table] { MoveRow(table, -1); }},
      {txt::FormulasDown, [this, table] { MoveRow(table, 1); }},
  };
  for (const auto& [caption, action] : actions) {
    auto* button = new QPushButton(QTxt(caption), panel);
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
  }
  buttons->addStretch();
  row->addLayout(buttons);
  return panel;
}

QWidget* FormulasDialog::BuildKeyboard() {
  auto* keyboard = new QWidget(this);
  auto* grid = new QGridLayout(keyboard);
  grid->setSpacing(2);
  QStringList terms;
  for (const char* term : kTerms) terms << QString::fromUtf8(term);
  for (const auto& column : context_.columns) terms << QString::fromStdString(column.symbol);
  constexpr int kPerLine = 12;
  for (int i = 0; i < terms.size(); ++i) {
    auto* button = new QPushButton(terms[i], keyboard);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(36);
    connect(button, &QPushButton::clicked, this, [this, term = terms[i]] { InsertTerm(term); });
    grid->addWidget(button, i / kPerLine, i % kPerLine);
  }
  return keyboard;
}

QToolButton* FormulasDialog::BuildReadyMadeButton() {
  auto* button = new QToolButton(this);
  button->setText(QTxt(txt::FormulasReadyMade));
  button->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(button);
  const std::pair<ReadyMade, TxtId> kinds[] = {
      {ReadyMade::KineticEnergy, txt::FormulaKineticEnergy},
      {ReadyMade::PotentialEnergy, txt::FormulaPotentialEnergy},
      {ReadyMade::MechanicalEnergy, txt::FormulaMechanicalEnergy},
      {ReadyMade::Momentum, txt::FormulaMomentum},
  };
  for (int o = 0; o < context_.objects; ++o) {
    QMenu* objectMenu =
        context_.objects == 1 ? menu : menu->addMenu(QTxt(txt::FormulasObject).arg(o + 1));
    for (const auto& [kind, caption] : kinds)
      objectMenu->addAction(QTxt(caption), this,
                            [this, kind, o] { AddReadyMadeFor(int(kind), o); });
  }
  button->setMenu(menu);
  return button;
}

void FormulasDialog::AddReadyMadeFor(int what, int object) {
  FormulaSet set = Formulas();
  const std::string suffix = context_.objects == 1 ? "" : std::to_string(object + 1);
  AddReadyMade(set, static_cast<ReadyMade>(what), suffix, context_.yUp);
  Fill(set);
  UpdatePreview();
}

void FormulasDialog::Fill(const FormulaSet& set) {
  const QSignalBlocker blockVariables(variables_), blockConstants(constants_);
  variables_->setRowCount(int(set.formulas.size()));
  for (std::size_t j = 0; j < set.formulas.size(); ++j) {
    const UserFormula& f = set.formulas[j];
    SetRow(variables_, int(j), {f.identifier, f.phrase, f.unit, f.comment});
  }
  constants_->setRowCount(int(set.constants.size()));
  for (std::size_t k = 0; k < set.constants.size(); ++k) {
    const UserConstant& c = set.constants[k];
    SetRow(constants_, int(k), {c.identifier, c.index, c.value, c.unit});
  }
}

FormulaSet FormulasDialog::Formulas() const {
  FormulaSet set;
  for (int r = 0; r < variables_->rowCount(); ++r)
    set.formulas.push_back({CellText(variables_, r, 0), CellText(variables_, r, 1),
                            CellText(variables_, r, 3), CellText(variables_, r, 2)});
  for (int r = 0; r < constants_->rowCount(); ++r)
    set.constants.push_back({CellText(constants_, r, 0), CellText(constants_, r, 1),
                             CellText(constants_, r, 2), CellText(constants_, r, 3)});
  return set;
}

void FormulasDialog::MoveRow(QTableWidget* table, int step) {
  const int row = table->currentRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= table->rowCount()) return;
  const QSignalBlocker block(table);
  for (int c = 0; c < table->columnCount(); ++c) {
    QTableWidgetItem* a = table->takeItem(row, c);
    QTableWidgetItem* b = table->takeItem(target, c);
    table->setItem(row, c, b);
    table->setItem(target, c, a);
  }
  table->setCurrentCell(target, table->currentColumn());
  UpdatePreview();
}

void FormulasDialog::InsertTerm(const QString& term) {
  QTableWidget* table = lastEdited_ ? lastEdited_ : variables_;
  if (table->currentRow() < 0) return;
  // Terms go into the formula of a variable, into the value of a constant.
  const int column = table == variables_ ? 1 : 2;
  QTableWidgetItem* item = table->item(table->currentRow(), column);
  if (!item) {
    item = new QTableWidgetItem;
    table->setItem(table->currentRow(), column, item);
  }
  item->setText(item->text() + term);
}

UserFormulas FormulasDialog::Evaluated() const {
  std::vector<std::string> symbols;
  for (const auto& column : context_.columns) symbols.push_back(column.symbol);
  UserFormulas formulas;
  formulas.Define(Formulas(), symbols, context_.settings);
  formulas.Evaluate(context_.columns);
  return formulas;
}

void FormulasDialog::UpdatePreview() {
  const UserFormulas formulas = Evaluated();
  const QTableWidget* table = lastEdited_ ? lastEdited_ : variables_;
  const int row = table->currentRow();
  QString text;
  if (table == variables_ && row >= 0 && row < int(formulas.Variables().size())) {
    const EvaluatedVariable& v = formulas.Variables()[std::size_t(row)];
    text = !v.status.Ok() ? QString::fromStdString(v.status.message)
                          : QTxt(txt::FormulasPreview) + " " +
                                ValuesText(v.values, context_.settings.firstRowNumber) +
                                QString::fromStdString(v.rowFault);
  } else if (table == constants_ && row >= 0 && row < int(formulas.Constants().size())) {
    const EvaluatedConstant& c = formulas.Constants()[std::size_t(row)];
    text = QString::fromStdString(c.status.Ok() ? FullPrecisionText(c.value) : c.status.message);
  }
  preview_->setText(text);
  UpdateCalculator();
}

void FormulasDialog::UpdateCalculator() {
  if (calculator_->text().trimmed().isEmpty()) {
    calculatorResult_->clear();
    return;
  }
  const kinovia::CalculatorResult result = EvaluateWithConstants(
      calculator_->text().toStdString(), Evaluated(), context_.settings.radians);
  calculatorResult_->setText(QString::fromStdString(
      result.status.Ok() ? FullPrecisionText(result.value) : result.status.message));
}

void EditSessionFormulas(Session& session, const Options& options, QWidget* parent) {
  FormulasDialog::Context context;
  context.settings = FormulaSettingsOf(options);
  context.objects = std::max(session.MarksPerFrame(), 1);
  context.yUp = session.DirectY();
  UserFormulas discarded;
  const auto table =
      PrepareTable(session, {}, DerivationFlagsOf(options), context.settings, discarded);
  if (table) {
    context.columns = FormulaColumnsOf(table->results, table->derived);
  } else {
    // Without a scale there are no rows, but the symbols are known all the same.
    for (int c = 0; c <= 11 * context.objects; ++c)
      context.columns.push_back({ColumnInfoFor(c, context.objects, {}).symbol, {}});
  }
  FormulasDialog dialog(session.Formulas(), std::move(context), parent);
  if (dialog.exec() == QDialog::Accepted) session.SetFormulas(dialog.Formulas());
}

}  // namespace kinovia
