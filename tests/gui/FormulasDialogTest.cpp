// The dialog "Formulas personales" driven as a user drives it, on the offscreen platform.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "gui/FormulasDialog.h"
#include "logic/formulas/ReadyMadeFormulas.h"

using namespace kinovia;

namespace {

// One object on three rows.
FormulasDialog::Context ThreeRows() {
  FormulasDialog::Context context;
  context.columns = {
      {"t", {0, 0.04, 0.08}}, {"x", {0, 0.1, 0.3}}, {"y", {1, 0.5, -0.5}}, {"v", {2, 3, 4}}};
  context.settings = {false, 1};
  return context;
}

QPushButton* Button(QWidget* parent, const QString& text, int index = 0) {
  int seen = 0;
  for (QPushButton* b : parent->findChildren<QPushButton*>())
    if (b->text() == text && seen++ == index) return b;
  return nullptr;
}

void Type(QTableWidget* table, int row, int column, const QString& text) {
  table->setCurrentCell(row, column);
  auto* item = table->item(row, column);
  if (!item) table->setItem(row, column, item = new QTableWidgetItem);
  item->setText(text);
}

}  // namespace

class FormulasDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void TypingShowsTheFirstRowsOrTheErrorOfTheLine() {
    FormulasDialog dialog({}, ThreeRows());
    QTest::mouseClick(Button(&dialog, "Añadir", 1), Qt::LeftButton);  // a constant
    Type(dialog.Constants(), 0, 0, "m");
    Type(dialog.Constants(), 0, 2, "2");
    QTest::mouseClick(Button(&dialog, "Añadir", 0), Qt::LeftButton);  // a variable
    Type(dialog.Variables(), 0, 0, "p");
    Type(dialog.Variables(), 0, 1, "m*v");
    QVERIFY2(dialog.Preview()->text().contains("1 : 4"), qPrintable(dialog.Preview()->text()));
    QVERIFY(dialog.Preview()->text().contains("3 : 8"));

    Type(dialog.Variables(), 0, 1, "m*w");
    QCOMPARE(dialog.Preview()->text(),
             QString("La fórmula contiene una variable o una constante desconocida: w"));
    Type(dialog.Variables(), 0, 0, "M");
    Type(dialog.Variables(), 0, 1, "2");
    // The variable came first: the constant of the same name is the repetition.
    dialog.Constants()->setCurrentCell(0, 0);
    QCOMPARE(dialog.Preview()->text(),
             QString("Nombre ya utilizado (no se distingue entre mayúsculas y minúsculas). "
                     "Variable o constante repetida : m"));
  }

  void KeyboardButtonsWriteIntoTheFormulaAndRowsMove() {
    FormulasDialog dialog({{{"a1", "", "", ""}, {"b1", "x", "", ""}}, {}}, ThreeRows());
    dialog.Variables()->setCurrentCell(0, 0);
    QTest::mouseClick(Button(&dialog, "sqrt("), Qt::LeftButton);
    QTest::mouseClick(Button(&dialog, "v"), Qt::LeftButton);
    QTest::mouseClick(Button(&dialog, ")"), Qt::LeftButton);
    QCOMPARE(dialog.Formulas().formulas[0].phrase, std::string("sqrt(v)"));
    QTest::mouseClick(Button(&dialog, "Bajar", 0), Qt::LeftButton);
    QCOMPARE(dialog.Formulas().formulas[1].identifier, std::string("a1"));
    QCOMPARE(dialog.Formulas().formulas[0].identifier, std::string("b1"));
    QTest::mouseClick(Button(&dialog, "Suprimir", 0), Qt::LeftButton);
    QCOMPARE(dialog.Formulas().formulas.size(), std::size_t(1));
    QCOMPARE(dialog.Formulas().formulas[0].identifier, std::string("b1"));
  }

  void ReadyMadeEnergiesAndTheCalculator() {
    FormulasDialog dialog({}, ThreeRows());
    dialog.AddReadyMadeFor(int(ReadyMade::MechanicalEnergy), 0);
    const FormulaSet set = dialog.Formulas();
    QCOMPARE(set.formulas.size(), std::size_t(3));
    QCOMPARE(set.formulas[2].identifier, std::string("Em"));
    QCOMPARE(set.constants.size(), std::size_t(2));  // the mass and g
    dialog.Variables()->setCurrentCell(2, 1);
    // m = 0.1 kg, v = 2 m/s, y = 1 m: 0.2 J of kinetic and 0.981 J of potential energy.
    QVERIFY2(dialog.Preview()->text().contains("1 : 1,181") ||
                 dialog.Preview()->text().contains("1 : 1.181"),
             qPrintable(dialog.Preview()->text()));
    dialog.Calculator()->setText("2*g+sin(30)");
    QCOMPARE(dialog.CalculatorResult()->text(), QString("20.12"));
  }
};

QTEST_MAIN(FormulasDialogTest)
#include "FormulasDialogTest.moc"
