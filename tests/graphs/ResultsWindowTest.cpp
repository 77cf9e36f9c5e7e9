// Drives the real results window, opened from the main window's results buttons, on the Parabole
// sample clip pointed at the ball's true positions.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>

#include "gui/MainWindow.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/ResultsPrinting.h"
#include "gui/results/ResultsWindow.h"
#include "logic/session/Session.h"
#include "tests/support/PointedSample.h"

using namespace kinovia;

namespace {

const char* const kClip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";

void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    poll->stop();
    poll->deleteLater();
    answer(modal);
  });
  poll->start(10);
}

QAction* FindAction(QWidget* window, const QString& caption) {
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == caption) return action;
  return nullptr;
}

}  // namespace

class ResultsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    truth_ = SampleTruth(SampleClip::Parabole);
    IniFile ini;
    WriteWorkFile(ini, PointedAtTheTruth(kClip, truth_));
    work_ = folder_.filePath("parabole.knv");
    QVERIFY(ini.Save(work_.toStdString()));
  }

  void init() {
    window_ = std::make_unique<MainWindow>();
    window_->SetCloseWithoutAsking(true);
    window_->show();
    QVERIFY(window_->OpenFile(work_));
  }

  void cleanup() { window_.reset(); }

  // The results buttons of the main window, in order: table, time, trajectory.
  ResultsWindow* Open(const char* caption) {
    QAction* button = FindAction(window_.get(), QString::fromUtf8(caption));
    if (!button) return nullptr;
    button->trigger();
    return window_->Results();
  }

  void TableShowsEveryPointedFrame() {
    ResultsWindow* results = Open("Tabla de valores");
    QVERIFY(results && results->isVisible());
    QCOMPARE(results->CurrentPage(), ResultsWindow::Page::Table);
    QAbstractItemModel* model = results->Table()->model();
    QCOMPARE(model->rowCount(), int(truth_.size()));
    QCOMPARE(model->columnCount(), 12);  // t, x, y, vx, vy, v, ax, ay, a, O, R, w
    QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QString("y\nm"));
    QCOMPARE(model->headerData(3, Qt::Vertical, Qt::DisplayRole).toString(), QString("4"));
    const double y3 =
        model->data(model->index(3, 2), Qt::DisplayRole).toString().replace(',', '.').toDouble();
    QVERIFY(std::abs(y3 - truth_[3].y) < 2e-3);
  }

  void QuantitySwitchReframesTheTimeGraph() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    QVERIFY(results);
    GraphWidget* graph = results->CurrentGraph();
    QVERIFY(graph && graph->isVisible());
    QCOMPARE(graph->CurveCount(), 1);
    QCOMPARE(graph->Window().xMin, 0.0);  // time starts at exactly zero
    QCOMPARE(graph->TitleY().front(), QString("X"));

    struct Case {
      int index;
      const char* symbol;
    };
    for (const Case c : {Case{4, "v"}, Case{8, "O"}, Case{1, "Y"}}) {
      results->QuantityList()->setCurrentIndex(c.index);
      emit results->QuantityList()->activated(c.index);
      QCOMPARE(graph->TitleY().front(), QString(c.symbol));
    }
    // Y of a thrown ball: the framed window holds every height with its margin.
    double low = 1e9, high = -1e9;
    for (const auto& row : truth_) low = std::min(low, row.y), high = std::max(high, row.y);
    QVERIFY(graph->Window().yMin < low && graph->Window().yMax > high);

    results->QuantityList()->setCurrentIndex(4);
    emit results->QuantityList()->activated(4);
    QCOMPARE(graph->Window().yMin, 0.0);  // a speed's value starts at zero
    results->QuantityList()->setCurrentIndex(8);
    emit results->QuantityList()->activated(8);
    QVERIFY(graph->Window().yMin < 0 || graph->Window().yMax > 0);
    QVERIFY(graph->Window().yMin <= 0 && graph->Window().yMax >= 0);
  }

  void ZoomInAndOutAboutTheClick() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    GraphWidget* graph = results->CurrentGraph();
    const PlotWindow before = graph->Window();
    const PlotArea plot = graph->Plot();
    const QPoint centre(plot.left + plot.width / 2, plot.top + plot.height / 2);
    graph->SetTool(GraphWidget::Tool::Zoom);
    QTest::mouseClick(graph, Qt::LeftButton, {}, centre);
    QCOMPARE(graph->ZoomFactorX(), 1.5);
    QVERIFY(graph->Window().xMax - graph->Window().xMin < (before.xMax - before.xMin) / 1.5 + 1e-9);
    QTest::mouseClick(graph, Qt::RightButton, {}, centre);
    QCOMPARE(graph->ZoomFactorX(), 1.0);
    QVERIFY(std::abs((graph->Window().xMax - graph->Window().xMin) - (before.xMax - before.xMin)) <
            1e-9);
    results->RestoreGraph();
    QCOMPARE(graph->Window().xMin, before.xMin);
  }

  void ParabolaOnTheHeightGivesG() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    results->QuantityList()->setCurrentIndex(1);
    emit results->QuantityList()->activated(1);
    QVERIFY(results->ChooseModel(ModelKind::Parabola));
    Curve& curve = results->CurrentGraph()->CurveAt(0);
    QVERIFY(curve.model);
    const double curvature = 2 * curve.model->GetParam(2);
    QVERIFY2(std::abs(curvature + 9.81) < 0.0981, qPrintable(QString::number(curvature)));
    // The model's block shows under the mouse where the curve is drawn.
    GraphWidget* graph = results->CurrentGraph();
    const PlotMapping mapping = graph->Mapping();
    const double t = truth_[truth_.size() / 2].t;
    const QPoint on(int(std::lround(mapping.XToPixel(t))),
                    int(std::lround(mapping.YToPixel(curve.model->Value(t)))));
    QVERIFY(graph->ModelHintAt(on).value_or("").contains("Modelo"));
    QVERIFY(!graph->ModelHintAt(on + QPoint(0, 40)));
  }

  void ModelNeedsExactlyOneCurve() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    results->CheckObjects({5});  // no such object: nothing checked
    AnswerNextModal([](QWidget* box) {
      for (auto* button : box->findChildren<QPushButton*>())
        if (button->text() == "Ok") button->click();
    });
    QVERIFY(!results->ChooseModel(ModelKind::Affine));
    QCOMPARE(results->CurrentGraph()->CurveCount(), 0);
    for (QAction* action : results->findChildren<QAction*>())
      if (action->text() == QString::fromUtf8("Recta")) QVERIFY(!action->isChecked());
  }

  void TrajectoryIsOrthonormal() {
    ResultsWindow* results = Open("Trayectoria en un sistema de referencia");
    GraphWidget* graph = results->CurrentGraph();
    QVERIFY(graph && graph->Orthonormal());
    const PlotArea plot = graph->Plot();
    const PlotWindow w = graph->Window();
    QVERIFY(std::abs((w.xMax - w.xMin) / plot.width - (w.yMax - w.yMin) / plot.height) < 1e-9);
  }

  void TablePrintsAcrossPagesAndGraphOnOne() {
    ResultsWindow* results = Open("Tabla de valores");
    QPdfWriter small(folder_.filePath("table.pdf"));
    small.setPageSize(QPageSize(QPageSize::A6));
    // 50 rows of 8-point lines need more than one A6 page; a large page holds them all.
    QVERIFY(PrintTable(small, *results->Table()->model(), "Tabla") > 1);
    QPdfWriter large(folder_.filePath("table_a3.pdf"));
    large.setPageSize(QPageSize(QPageSize::A3));
    QCOMPARE(PrintTable(large, *results->Table()->model(), "Tabla"), 1);
    results = Open("Evolución en función del tiempo");
    QPdfWriter graph(folder_.filePath("graph.pdf"));
    PrintGraph(graph, *results->CurrentGraph(), results->windowTitle());
    QVERIFY(QFileInfo(folder_.filePath("graph.pdf")).size() > 1000);
  }

  void AMarkTakenBackUpdatesTheOpenTable() {
    ResultsWindow* results = Open("Tabla de valores");
    const int rows = results->Table()->model()->rowCount();
    window_->CurrentSession().WithdrawLastMark();
    QTRY_COMPARE(results->Table()->model()->rowCount(), rows - 1);
  }

 private:
  QTemporaryDir folder_;
  QString work_;
  std::vector<SampleTruthRow> truth_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
