// Drives the real results window, opened from the main window's results buttons, on the Parabole
// sample clip pointed at the ball's true positions.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <functional>

#include "gui/MainWindow.h"
#include "gui/graphs/ElementPainter.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/ResultsPrinting.h"
#include "gui/results/ResultsWindow.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "tests/graphs/DragMark.h"
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

void PressOk() {
  AnswerNextModal([](QWidget* box) {
    for (auto* button : box->findChildren<QPushButton*>())
      if (button->text() == "Ok") button->click();
  });
}

QPoint PixelOf(const GraphWidget& graph, double x, double y) {
  const PlotMapping mapping = graph.Mapping();
  return {int(std::lround(mapping.XToPixel(x))), int(std::lround(mapping.YToPixel(y)))};
}

void Drag(QWidget* widget, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
  QTest::mousePress(widget, Qt::LeftButton, keys, from);
  for (int step = 1; step <= 4; ++step) {
    QMouseEvent move(QEvent::MouseMove, from + (to - from) * step / 4,
                     widget->mapToGlobal(from + (to - from) * step / 4), Qt::NoButton,
                     Qt::LeftButton, keys);
    QApplication::sendEvent(widget, &move);
  }
  QTest::mouseRelease(widget, Qt::LeftButton, keys, to);
}

// The display menu's item of the page on show, reached through its sub-menus' titles.
QAction* DisplayItem(ResultsWindow* results, const QStringList& path) {
  QMenu* menu = results->DisplayMenu();
  emit menu->aboutToShow();
  for (int i = 0; i < path.size(); ++i) {
    const auto actions = menu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [&](QAction* a) { return a->text() == path[i]; });
    if (found == actions.end()) return nullptr;
    if (i + 1 == path.size()) return *found;
    menu = (*found)->menu();
    if (!menu) return nullptr;
  }
  return nullptr;
}

// The pixels of the graph near the colour of its first curve: symbols, lines, numbers, arrows.
int CurvePixels(GraphWidget* graph) {
  const QColor colour = graph->CurveAt(0).colour;
  const QImage image = graph->grab().toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) <
          60)
        ++count;
    }
  return count;
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
    // By default only the ordinates zoom; the display menu lets the abscissas zoom too.
    QTest::mouseClick(graph, Qt::LeftButton, {}, centre);
    QCOMPARE(graph->ZoomFactorX(), 1.0);
    QCOMPARE(graph->ZoomFactorY(), 1.5);
    QCOMPARE(graph->Window().xMax, before.xMax);
    results->RestoreGraph();
    QAction* zoomX = DisplayItem(results, {"Zoom sobre el eje de las abscisas"});
    QVERIFY(zoomX && !zoomX->isChecked());
    zoomX->trigger();
    QVERIFY(window_->CurrentOptions().Flag(BoolOption::TimeZoomX));
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

  // Each item changes what the graph draws: more or fewer pixels of the curve's colour.
  void DisplayMenuItemsChangeTheDrawing() {
    struct Case {
      const char* page;
      QStringList path;
      int more;  // +1: more pixels after the choice, -1: fewer
    };
    const Case cases[] = {
        {"Trayectoria en un sistema de referencia", {"Numeración", "ninguna"}, -1},
        {"Trayectoria en un sistema de referencia", {"Dibujar la polilínea"}, -1},
        {"Trayectoria en un sistema de referencia", {"Tamaño de los puntos", "grande"}, +1},
        {"Evolución en función del tiempo", {"Dibujar la polilínea"}, -1},
        {"Representación de los vectores", {"Dibujar los vectores iniciales"}, -1},
        {"Representación de los vectores", {"Dibujar los segmentos iniciales"}, +1},
        {"Representación de los vectores", {"Dibujar las curvas iniciales"}, +1},
    };
    for (const Case& c : cases) {
      ResultsWindow* results = Open(c.page);
      GraphWidget* graph = results->CurrentGraph();
      const int before = CurvePixels(graph);
      QAction* item = DisplayItem(results, c.path);
      QVERIFY2(item, qPrintable(c.path.join(" > ")));
      item->trigger();
      const int after = CurvePixels(graph);
      QVERIFY2((after - before) * c.more > 50,
               qPrintable(c.path.join(" > ") + QString(": %1 -> %2").arg(before).arg(after)));
    }
  }

  // The numbers go below the points or to their right.
  void NumbersBelowOrRightOfThePoints() {
    ResultsWindow* results = Open("Trayectoria en un sistema de referencia");
    GraphWidget* graph = results->CurrentGraph();
    QVERIFY(graph->CurveAt(0).showNumbers);
    DisplayItem(results, {"Dibujar la polilínea"})->trigger();
    const QImage below = graph->grab().toImage();
    DisplayItem(results, {"Numeración", "a la derecha de la marca"})->trigger();
    QCOMPARE(window_->CurrentOptions().Value(IntOption::GraphNumbering), 1);
    const QImage right = graph->grab().toImage();
    // Around a point in the middle of the flight: ink under it, then ink beside it.
    const Curve& curve = graph->CurveAt(0);
    const QPoint p = PixelOf(*graph, curve.x[curve.x.size() / 2], curve.y[curve.y.size() / 2]);
    const auto ink = [&](const QImage& image, QRect area) {
      int n = 0;
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
          if (qGray(image.pixel(x, y)) < 160) ++n;
      return n;
    };
    const QRect under(p.x() - 6, p.y() + 6, 13, 12), beside(p.x() + 6, p.y() - 6, 16, 12);
    QVERIFY(ink(below, under) > ink(right, under));
    QVERIFY(ink(right, beside) > ink(below, beside));
  }

  // The box of the reticle's values sits in the corner the display menu chooses.
  void ValueBoxGoesToTheChosenCorner() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    GraphWidget* graph = results->CurrentGraph();
    graph->SetTool(GraphWidget::Tool::Reticle);
    const PlotArea plot = graph->Plot();
    const QPoint centre(plot.left + plot.width / 2, plot.top + plot.height / 2);
    struct Case {
      const char* corner;
      bool left, up;
    };
    for (const Case c :
         {Case{"abajo a la derecha", false, false}, Case{"arriba a la derecha", false, true},
          Case{"abajo a la izquierda", true, false}, Case{"arriba a la izquierda", true, true}}) {
      DisplayItem(results, {"Cuadro de valores", c.corner})->trigger();
      QTest::mouseMove(graph, centre + QPoint(3, 3));
      graph->grab();
      const QRect box = graph->ValueBox();
      QVERIFY2(!box.isEmpty(), c.corner);
      QCOMPARE(box.center().x() < centre.x(), c.left);
      QCOMPARE(box.center().y() < centre.y(), c.up);
      const QImage image = graph->grab().toImage();
      QCOMPARE(image.pixelColor(box.center() + QPoint(0, box.height() / 2 - 2)).lightness() > 200,
               true);
    }
    QCOMPARE(window_->CurrentOptions().Value(IntOption::ValueBoxCorner),
             int(ValueBoxCorner::UpLeft));
  }

  // A tool the options hide is not offered; the vector tool is the vectors page's only.
  void HiddenToolsAreNotShown() {
    Options& options = window_->CurrentOptions();
    options.SetToolHidden(ResultsPage::Trajectory, ResultsTool::Segment, true);
    options.SetToolHidden(ResultsPage::Time, ResultsTool::ParabolaModel, true);
    options.SetToolHidden(ResultsPage::Vectors, ResultsTool::Video, true);
    options.SetFlag(BoolOption::VectorShowItem, false);
    ResultsWindow* results = Open("Trayectoria en un sistema de referencia");
    options.onChange(options);
    // The vectors page is offered on neither tool bar: the main window's fourth results button.
    QVERIFY(!window_->findChild<QToolBar*>("ResultsBar")->actions()[3]->isVisible());
    QVERIFY(!FindAction(results, "Representación de los vectores")->isVisible());
    struct Case {
      const char* page;
      const char* tool;
      bool shown;
    };
    const Case cases[] = {
        {"Trayectoria en un sistema de referencia", "Segmento", false},
        {"Trayectoria en un sistema de referencia", "Vector", false},
        {"Trayectoria en un sistema de referencia", "Círculo", true},
        {"Representación de los vectores", "Segmento", true},
        {"Representación de los vectores", "Vector", true},
        {"Representación de los vectores", "Vídeo", false},
        {"Evolución en función del tiempo", "Parábola", false},
        {"Evolución en función del tiempo", "Recta", true},
    };
    for (const Case& c : cases) {
      Open(c.page);
      QAction* tool = FindAction(results, QString::fromUtf8(c.tool));
      QVERIFY2(tool, c.tool);
      QVERIFY2(tool->isVisible() == c.shown, qPrintable(QString(c.page) + " " + c.tool));
    }
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

  void VectorsPageScaleAndVideoPicture() {
    ResultsWindow* results = Open("Representación de los vectores");
    QVERIFY(results);
    QCOMPARE(results->CurrentPage(), ResultsWindow::Page::Vectors);
    GraphWidget* graph = results->CurrentGraph();
    QVERIFY(graph && graph->isVisible() && graph->Orthonormal());
    QCOMPARE(graph->Plot().left, 0);  // no axis bands
    QCOMPARE(graph->CurveCount(), 1);
    QCOMPARE(graph->CurveAt(0).vx.size(), truth_.size());
    QCOMPARE(graph->VectorUnit(), QString("m/s"));
    // A thrown ball's speed at its top is its horizontal speed, 3.4 m/s.
    const Curve& curve = graph->CurveAt(0);
    const auto top = std::max_element(curve.y.begin(), curve.y.end()) - curve.y.begin();
    QVERIFY(std::abs(curve.vx[std::size_t(top)] - 3.4) < 0.05);

    results->ScaleField()->setText("1");
    emit results->ScaleField()->editingFinished();
    for (int i = 0; i < 3; ++i) results->StepVectorScale(true);
    QVERIFY(std::abs(graph->Scale().value - 1.331) < 1e-12);
    PressOk();
    results->ScaleField()->setText("abc");
    emit results->ScaleField()->editingFinished();
    QVERIFY(std::abs(graph->Scale().value - 1.331) < 1e-12);  // refused, kept

    results->VectorList()->setCurrentIndex(1);
    emit results->VectorList()->activated(1);
    QCOMPARE(graph->VectorUnit(), QString::fromUtf8("m/s²"));
    QVERIFY(std::abs(graph->CurveAt(0).vy[5] + 9.81) < 0.2);

    // The picture behind: the ball's centre on the picture lies on its mark's position.
    results->ShowVideoPicture(true);
    QVERIFY(graph->PictureShown());
    const QSize size = graph->PictureSize();
    for (std::size_t k : {std::size_t(0), truth_.size() / 2}) {
      const QPointF at = graph->PictureToData().map(
          QPointF(truth_[k].u * size.width(), truth_[k].v * size.height()));
      QVERIFY(std::abs(at.x() - graph->CurveAt(0).x[k]) < 1e-6);
      QVERIFY(std::abs(at.y() - graph->CurveAt(0).y[k]) < 1e-6);
    }
  }

  void ConstructionElementsDrawMeasureAndUndo() {
    ResultsWindow* results = Open("Trayectoria en un sistema de referencia");
    GraphWidget* graph = results->CurrentGraph();
    QAction* segment = FindAction(results, "Segmento");
    QVERIFY(segment && segment->isVisible());
    segment->trigger();
    QCOMPARE(graph->CurrentTool(), GraphWidget::Tool::Segment);
    const QPoint a = PixelOf(*graph, 0, 0), b = PixelOf(*graph, 3, 4);
    QTest::mouseClick(graph, Qt::LeftButton, {}, a);
    QTest::mouseMove(graph, b);
    QVERIFY(graph->HintText().endsWith(" m"));  // the length follows the mouse
    QTest::mouseClick(graph, Qt::LeftButton, {}, b);
    QCOMPARE(graph->Elements().Elements().size(), std::size_t(1));
    const double length = *ElementMeasure(graph->Elements().Elements()[0]);
    QVERIFY2(std::abs(length - 5) < 0.05, qPrintable(QString::number(length)));

    FindAction(results, QString::fromUtf8("Círculo"))->trigger();
    for (const QPoint p : {PixelOf(*graph, 1, 1), PixelOf(*graph, 2, 2), PixelOf(*graph, 3, 1)})
      QTest::mouseClick(graph, Qt::LeftButton, {}, p);
    QCOMPARE(graph->Elements().Elements().size(), std::size_t(2));
    QVERIFY(std::abs(*ElementMeasure(graph->Elements().Elements()[1]) - 1) < 0.05);

    // Selected and moved by the mouse, then the move undone by the Edit menu.
    FindAction(results, QString::fromUtf8("Selección"))->trigger();
    const QPoint onCircle = PixelOf(*graph, 2, 2);
    Drag(graph, onCircle, onCircle + QPoint(40, 0));
    QCOMPARE(graph->SelectedElement(), 1);
    QVERIFY(graph->Elements().Elements()[1].points[0].x > 1.1);
    QAction* undo = FindAction(results, QString::fromUtf8("Cancelar Desplazar Círculo"));
    QVERIFY(undo && undo->isEnabled());
    undo->trigger();
    QVERIFY(std::abs(graph->Elements().Elements()[1].points[0].x - 1) < 0.05);
    QCOMPARE(graph->UndoCaption(), QString::fromUtf8("Cancelar Crear Círculo"));

    // Kept while the same data are shown; gone with another frame of reference.
    results->RestoreGraph();
    QCOMPARE(graph->Elements().Elements().size(), std::size_t(2));
    FindAction(results, "Suprimir")->trigger();
    QTest::mouseClick(graph, Qt::LeftButton, {}, PixelOf(*graph, 1.5, 2));
    QCOMPARE(graph->Elements().Elements().size(), std::size_t(1));
    results->FrameList()->setCurrentIndex(0);
    emit results->FrameList()->activated(0);
    QCOMPARE(graph->Elements().Elements().size(), std::size_t(1));
    results->CheckObjects({5});
    QVERIFY(graph->Elements().Elements().empty());
  }

  // The curved tools, each drawn as a user would, found where it is drawn, then undone; the
  // duplicate of the last one is a shifted copy that is undone on its own.
  void CurvedConstructionToolsDrawHitAndUndo() {
    ResultsWindow* results = Open("Trayectoria en un sistema de referencia");
    GraphWidget* graph = results->CurrentGraph();
    struct Case {
      const char* tool;
      ElementKind kind;
      std::vector<QPointF> clicks;  // data points; the spline's last one is double clicked
      QPointF onIt, offIt;
      const char* hint;  // what the measure starts with; a curve measures nothing
    };
    const Case cases[] = {
        {"Elipse", ElementKind::Ellipse, {{1, 1}, {3, 2}}, {2, 2}, {2, 1.5}, "a = 1"},
        {"Arco", ElementKind::Arc, {{1, 1}, {2, 2}, {3, 1}}, {2, 2}, {2, 0}, "R = 1"},
        {"Curva", ElementKind::Spline, {{1, 1}, {2, 2}, {3, 1}}, {2, 2}, {2, 1.5}, ""},
    };
    for (const Case& c : cases) {
      QAction* tool = FindAction(results, QString::fromUtf8(c.tool));
      QVERIFY2(tool && tool->isVisible(), c.tool);
      tool->trigger();
      const std::size_t before = graph->Elements().Elements().size();
      if (c.kind == ElementKind::Ellipse) {
        Drag(graph, PixelOf(*graph, 1, 1), PixelOf(*graph, 3, 2));  // dragged by its box
      } else {
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
          const QPoint at = PixelOf(*graph, c.clicks[i].x(), c.clicks[i].y());
          QTest::mouseMove(graph, at);
          QTest::mouseClick(graph, Qt::LeftButton, {}, at);
          // The window gets a double click as a click, then the double click event.
          if (i + 1 == c.clicks.size() && c.kind == ElementKind::Spline)
            QTest::mouseDClick(graph, Qt::LeftButton, {}, at);
        }
      }
      QCOMPARE(graph->Elements().Elements().size(), before + 1);
      const Element& drawn = graph->Elements().Elements().back();
      QCOMPARE(drawn.kind, c.kind);
      QCOMPARE(drawn.points.size(), c.clicks.size());
      const QString hint = QString::fromUtf8(c.hint);
      QCOMPARE(MeasureText(drawn, "m").left(hint.size()), hint);
      const auto hit = [&](QPointF p) {
        const QPoint at = PixelOf(*graph, p.x(), p.y());
        return HitElement(graph->Elements().Elements(), graph->Mapping(), at.x(), at.y(), 5);
      };
      QCOMPARE(hit(c.onIt), int(before));
      QCOMPARE(hit(c.offIt), -1);
      QCOMPARE(graph->UndoCaption(),
               QString::fromUtf8("Cancelar Crear ") + QString::fromUtf8(c.tool));
    }

    // A click that selects without moving leaves nothing to undo but the creations.
    FindAction(results, QString::fromUtf8("Selección"))->trigger();
    QTest::mouseClick(graph, Qt::LeftButton, {}, PixelOf(*graph, 2, 2));
    QCOMPARE(graph->SelectedElement(), 2);
    QCOMPARE(graph->UndoCaption(), QString::fromUtf8("Cancelar Crear Curva"));
    QAction* duplicate = FindAction(results, "Duplicar");
    QVERIFY(duplicate && duplicate->isVisible());
    duplicate->trigger();
    const auto& elements = graph->Elements().Elements();
    QCOMPARE(elements.size(), std::size_t(4));
    QCOMPARE(graph->SelectedElement(), 3);
    const QPoint shift = PixelOf(*graph, elements[3].points[0].x, elements[3].points[0].y) -
                         PixelOf(*graph, elements[2].points[0].x, elements[2].points[0].y);
    QVERIFY2(shift == QPoint(10, 10), qPrintable(QString("%1 %2").arg(shift.x()).arg(shift.y())));
    QCOMPARE(graph->UndoCaption(), QString::fromUtf8("Cancelar Duplicar Curva"));
    for (const char* next :
         {"Cancelar Crear Curva", "Cancelar Crear Arco", "Cancelar Crear Elipse"}) {
      QVERIFY(graph->UndoElementChange());
      QCOMPARE(graph->UndoCaption(), QString::fromUtf8(next));
    }
    QCOMPARE(elements.size(), std::size_t(1));
  }

  void ModelModifierDragsTheParabola() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    GraphWidget* graph = results->CurrentGraph();
    QAction* modifier = FindAction(results, "Modificar el modelo");
    QVERIFY(modifier);
    PressOk();  // no model yet: refused with a message
    modifier->trigger();
    QVERIFY(!modifier->isChecked());
    QCOMPARE(graph->CurrentTool(), GraphWidget::Tool::None);

    results->SelectQuantity(1);
    QVERIFY(results->ChooseModel(ModelKind::Parabola));
    QCOMPARE(graph->CurrentTool(), GraphWidget::Tool::ModelShown);
    modifier->trigger();
    QCOMPARE(graph->CurrentTool(), GraphWidget::Tool::ModelModifier);
    Model& model = *graph->CurveAt(0).model;
    const double before = model.GetParam(2);
    const PlotArea plot = graph->Plot();
    // Grabbed in the right third, the curvature follows the mouse 30 pixels up.
    const double t = graph->Mapping().XToData(plot.left + plot.width * 0.85);
    const QPoint grab = PixelOf(*graph, t, model.Value(t));
    Drag(graph, grab, grab - QPoint(0, 30));
    QVERIFY(model.GetParam(2) > before);
    QVERIFY(std::abs(PixelOf(*graph, t, model.Value(t)).y() - (grab.y() - 30)) <= 1);
    // With Ctrl the curve moves a tenth as far.
    const QPoint grabbed = PixelOf(*graph, t, model.Value(t));
    Drag(graph, grabbed, grabbed - QPoint(0, 50), Qt::ControlModifier);
    QVERIFY(std::abs(PixelOf(*graph, t, model.Value(t)).y() - (grabbed.y() - 5)) <= 1);
  }

  void DisplayMenuShowsColumnGroups() {
    ResultsWindow* results = Open("Tabla de valores");
    QAbstractItemModel* model = results->Table()->model();
    QCOMPARE(model->columnCount(), 12);
    results->ShowColumnGroup(kFamilySpeeds, false);
    QCOMPARE(model->columnCount(), 9);
    QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QString("ax\nm/s²"));
    results->ShowColumnGroup(kFamilyPolar, false);
    QCOMPARE(model->columnCount(), 6);
    results->ShowColumnGroup(kFamilySpeeds | kFamilyPolar, true);
    QCOMPARE(model->columnCount(), 12);
    QVERIFY(results->DisplayMenu()->menuAction()->isVisible());
  }

  void AMarkMovedUpdatesOnlyItsRows() {
    ResultsWindow* results = Open("Evolución en función del tiempo");
    results->SelectQuantity(1);
    GraphWidget* graph = results->CurrentGraph();
    graph->ZoomClick(QPoint(graph->Plot().left + 100, graph->Plot().top + 100), true, false);
    const PlotWindow zoomed = graph->Window();
    QAbstractItemModel* table = results->Table()->model();
    QSignalSpy resets(table, &QAbstractItemModel::modelReset);
    QSignalSpy changes(table, &QAbstractItemModel::dataChanged);

    // The move tool drags the mark of frame k on the picture 30 pixels up.
    const std::size_t k = truth_.size() / 2;
    const double yBefore = graph->CurveAt(0).y[k];
    DragMarkOnPicture(*window_, truth_[k].frame, {truth_[k].u, truth_[k].v}, -30);
    QTRY_VERIFY(graph->CurveAt(0).y[k] > yBefore + 0.01);
    QCOMPARE(resets.count(), 0);
    QVERIFY(changes.count() >= 1);
    const QModelIndex first = changes.last().at(0).value<QModelIndex>();
    const QModelIndex last = changes.last().at(1).value<QModelIndex>();
    QVERIFY(first.row() <= int(k) && last.row() >= int(k));
    // Smoothed derivatives fit the whole series: every row may change, but a recomputation that
    // changed nothing shows nothing again.
    const int shown = changes.count();
    results->MarkStale();
    results->Refresh();
    QCOMPARE(changes.count(), shown);
    QCOMPARE(resets.count(), 0);
    QCOMPARE(graph->Window().xMin, zoomed.xMin);  // the zoomed window stays
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
