// Drives the formula page of the real results window, opened by the main window's formula button,
// on the Parabole sample clip pointed at the ball's true positions, with the user's variables of a
// pupil studying its energy.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <cmath>

#include "gui/MainWindow.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/FormulaPage.h"
#include "gui/results/ResultsWindow.h"
#include "logic/session/Session.h"
#include "tests/support/ModalAnswers.h"
#include "tests/support/PointedSample.h"

using namespace kinovia;

namespace {

const char* const kClip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";

QAction* OrdinateEntry(FormulaPage& page, const QString& symbol) {
  for (QAction* action : page.OrdinateMenu()->actions())
    if (action->data().toString() == symbol) return action;
  return nullptr;
}

}  // namespace

class FormulaPageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    truth_ = SampleTruth(SampleClip::Parabole);
    WorkFileContent work = PointedAtTheTruth(kClip, truth_);
    work.formulas.constants = {{"m", "", "0.2", "kg"}};
    work.formulas.formulas = {{"Ec", "0.5*m*v*v", "Energía cinética", "J"}, {"h", "y", "", ""}};
    IniFile ini;
    WriteWorkFile(ini, work);
    work_ = folder_.filePath("energy.knv");
    QVERIFY(ini.Save(work_.toStdString()));
  }

  void init() {
    window_ = std::make_unique<MainWindow>();
    window_->SetCloseWithoutAsking(true);
    window_->show();
    QVERIFY(window_->OpenFile(work_));
    // The results tool bar's button; the measures menu has an entry of the same caption that opens
    // the formulas dialog.
    for (QToolBar* bar : window_->findChildren<QToolBar*>())
      for (QAction* action : bar->actions())
        if (action->text() == "Formulas personales") button_ = action;
    QVERIFY(button_);
    button_->trigger();
    results_ = window_->Results();
    QVERIFY(results_ && results_->isVisible());
  }

  void cleanup() { window_.reset(); }

  // The button opens the page with every user variable against time.
  void FormulaButtonPlotsTheVariablesAgainstTime() {
    QCOMPARE(results_->CurrentPage(), ResultsWindow::Page::Formula);
    QCOMPARE(results_->windowTitle(), QString("Formulas personales"));
    FormulaPage& page = results_->Formulas();
    GraphWidget* graph = results_->CurrentGraph();
    QCOMPARE(graph, page.Graph());
    QVERIFY(graph->isVisible());
    QCOMPARE(page.AbscissaList()->currentData().toString(), QString("t"));
    QCOMPARE(graph->CurveCount(), 2);
    QCOMPARE(graph->Window().xMin, 0.0);  // time starts at exactly zero
    QCOMPARE(graph->TitleY(),
             (QStringList{"Representación de varias curvas", "(¡ Problema de unidad !)"}));
    QCOMPARE(page.OrdinateButton()->text(), QString("Representación de varias curvas"));

    // Kinetic energy alone: its name and unit; the speed is undefined on the first and last marks.
    OrdinateEntry(page, "h")->setChecked(false);
    QCOMPARE(graph->TitleY(), (QStringList{"Ec", "Energía cinética (J)"}));
    QCOMPARE(page.OrdinateButton()->text(), QString("Ec"));
    const Curve& energy = graph->CurveAt(0);
    QVERIFY(int(energy.y.size()) >= int(truth_.size()) - 2);
    for (double e : energy.y) QVERIFY(e > 0);
    QVERIFY(graph->Window().yMin <= 0);  // zero shows on the ordinate by default
  }

  // The height of a thrown ball through a user variable: a parabola whose curvature is g.
  void ParabolaOnAUserVariableGivesG() {
    FormulaPage& page = results_->Formulas();
    QVERIFY(page.Choose("t", {"h"}));
    QVERIFY(results_->ChooseModel(ModelKind::Parabola));
    Curve& curve = results_->CurrentGraph()->CurveAt(0);
    QVERIFY(curve.model);
    const double curvature = 2 * curve.model->GetParam(2);
    QVERIFY2(std::abs(curvature + 9.81) < 0.0981, qPrintable(QString::number(curvature)));
    QCOMPARE(results_->CurrentGraph()->TitleY().back(), QString("(ninguna unidad escrita)"));

    // Two curves: no model, with the program's message.
    OrdinateEntry(page, "Ec")->setChecked(true);
    bool shown = false;
    test::AnswerNextModal([&shown](QWidget* box) {
      shown = true;
      test::PressButton(box, "Ok");
    });
    QVERIFY(!results_->ChooseModel(ModelKind::Affine));
    QVERIFY(shown);
  }

  // The height against the abscissa: the trajectory, framed on the data without zero.
  void HeightAgainstAbscissa() {
    FormulaPage& page = results_->Formulas();
    QVERIFY(page.Choose("x", {"h"}));
    GraphWidget* graph = results_->CurrentGraph();
    QCOMPARE(graph->CurveCount(), 1);
    QCOMPARE(graph->TitleX().front(), QString("x"));
    const Curve& curve = graph->CurveAt(0);
    QCOMPARE(int(curve.x.size()), int(truth_.size()));
    for (std::size_t i = 0; i < truth_.size(); ++i) {
      QVERIFY(std::abs(curve.x[i] - truth_[i].x) < 2e-3);
      QVERIFY(std::abs(curve.y[i] - truth_[i].y) < 2e-3);
    }
    const PlotWindow w = graph->Window();
    for (double x : curve.x) QVERIFY(w.xMin < x && x < w.xMax);
    QVERIFY(!page.Choose("x", {"nothing"}));
    QCOMPARE(page.CheckedOrdinates().size(), std::size_t(1));
  }

  // A variable added while the page is open joins the lists; the choices stay.
  void ANewVariableJoinsTheOpenPage() {
    FormulaPage& page = results_->Formulas();
    QVERIFY(page.Choose("t", {"h"}));
    FormulaSet formulas = window_->CurrentSession().Formulas();
    formulas.formulas.push_back({"Ep", "m*9.81*y", "", "J"});
    window_->CurrentSession().SetFormulas(formulas);
    QTRY_VERIFY(OrdinateEntry(page, "Ep") != nullptr);
    QCOMPARE(page.CheckedOrdinates().size(), std::size_t(1));
    QCOMPARE(results_->CurrentGraph()->TitleY().front(), QString("h"));
    OrdinateEntry(page, "Ep")->setChecked(true);
    OrdinateEntry(page, "h")->setChecked(false);
    const Curve& potential = results_->CurrentGraph()->CurveAt(0);
    QCOMPARE(int(potential.y.size()), int(truth_.size()));
    QVERIFY(std::abs(potential.y[0] - 0.2 * 9.81 * truth_[0].y) < 1e-2);
  }

 private:
  QTemporaryDir folder_;
  std::vector<SampleTruthRow> truth_;
  QString work_;
  std::unique_ptr<MainWindow> window_;
  ResultsWindow* results_ = nullptr;
  QAction* button_ = nullptr;
};

QTEST_MAIN(FormulaPageTest)
#include "FormulaPageTest.moc"
