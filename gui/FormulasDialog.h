#pragma once
// The dialog "Formulas personales": the user's variables and constants in two editable tables,
// with a live preview of the line being edited, a keyboard of formula terms, ready-made energy
// and momentum formulas, and a small calculator on the constants.
#include <QDialog>
#include <vector>

#include "logic/formulas/UserFormulas.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class QToolButton;

namespace kinovia {

class Options;
class Session;

class FormulasDialog : public QDialog {
  Q_OBJECT

 public:
  // What the formulas read: the table's columns (possibly without rows), the number of objects,
  // the direction of the vertical axis and the options' angle unit and row numbering.
  struct Context {
    std::vector<FormulaColumn> columns;
    int objects = 1;
    bool yUp = true;
    FormulaSettings settings;
  };

  FormulasDialog(const FormulaSet& set, Context context, QWidget* parent = nullptr);

  // The definitions as they stand in the two tables.
  FormulaSet Formulas() const;
  QTableWidget* Variables() const { return variables_; }
  QTableWidget* Constants() const { return constants_; }
  QLabel* Preview() const { return preview_; }
  QLineEdit* Calculator() const { return calculator_; }
  QLabel* CalculatorResult() const { return calculatorResult_; }
  // Writes a term of the keyboard into the cell being edited, as a click on its button does.
  void InsertTerm(const QString& term);
  void AddReadyMadeFor(int what, int object);

 private:
  QWidget* BuildTablePanel(QTableWidget* table, const QStringList& headers);
  QWidget* BuildKeyboard();
  QToolButton* BuildReadyMadeButton();
  void Fill(const FormulaSet& set);
  void MoveRow(QTableWidget* table, int step);
  void UpdatePreview();
  void UpdateCalculator();
  UserFormulas Evaluated() const;

  Context context_;
  QTableWidget* variables_ = nullptr;
  QTableWidget* constants_ = nullptr;
  QTableWidget* lastEdited_ = nullptr;
  QLabel* preview_ = nullptr;
  QLineEdit* calculator_ = nullptr;
  QLabel* calculatorResult_ = nullptr;
};

// Opens the dialog on the session's formulas; what is accepted goes back to the session, whose
// results are then stale.
void EditSessionFormulas(Session& session, const Options& options, QWidget* parent);

}  // namespace kinovia
