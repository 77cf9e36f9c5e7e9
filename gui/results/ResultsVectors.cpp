// The vectors page of the results window: the trajectories with their speed or acceleration
// vectors, the scale that sizes them and the video picture behind.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include "core/Message.h"
#include "core/Numbers.h"
#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/PageCurves.h"
#include "gui/results/ResultsWindow.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtTable.h"

namespace kinovia {
namespace {

// The picture of the arrow the scale value stands for: as long as the arrows the graph draws.
QPixmap ScaleArrowPicture() {
  QPixmap picture(kScalePixels + 1, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawLine(QPointF(0, 8), QPointF(kScalePixels, 8));
  painter.drawLine(QPointF(kScalePixels, 8), QPointF(kScalePixels - 7, 4.5));
  painter.drawLine(QPointF(kScalePixels, 8), QPointF(kScalePixels - 7, 11.5));
  return picture;
}

QToolButton* StepButton(QWidget* parent, Qt::ArrowType arrow, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setToolTip(hint);
  return button;
}

}  // namespace

void ResultsWindow::BuildScalePanel() {
  scalePanel_ = new QWidget(choicePanel_);
  auto* row = new QHBoxLayout(scalePanel_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(new QLabel(QTxt(txt::GraphScaleWord), scalePanel_));
  auto* arrow = new QLabel(scalePanel_);
  arrow->setPixmap(ScaleArrowPicture());
  row->addWidget(arrow);
  row->addWidget(new QLabel(QTxt(txt::GraphScaleRepresents), scalePanel_));
  scaleEdit_ = new QLineEdit(scalePanel_);
  scaleEdit_->setMaximumWidth(90);
  scaleEdit_->setToolTip(QTxt(txt::GraphScaleValueHint).section('|', 1));
  row->addWidget(scaleEdit_);
  const QString stepHint = QTxt(txt::GraphScaleStepHint).section('|', 1);
  QToolButton* up = StepButton(scalePanel_, Qt::UpArrow, stepHint);
  QToolButton* down = StepButton(scalePanel_, Qt::DownArrow, stepHint);
  row->addWidget(up);
  row->addWidget(down);
  scaleUnit_ = new QLabel(scalePanel_);
  scaleUnit_->setMinimumWidth(40);
  row->addWidget(scaleUnit_);
  connect(up, &QToolButton::clicked, this, [this] { StepVectorScale(true); });
  connect(down, &QToolButton::clicked, this, [this] { StepVectorScale(false); });
  connect(scaleEdit_, &QLineEdit::editingFinished, this, &ResultsWindow::TakeTypedScale);
}

void ResultsWindow::StepVectorScale(bool up) {
  GraphWidget* graph = GraphOf(Page::Vectors);
  if (objectCount_ <= 0) return;
  VectorScale scale = graph->Scale();
  scale.Step(up);
  graph->SetVectorScale(scale, graph->VectorUnit());
  ShowVectorScale();
}

// A value typed in the field replaces the scale; anything else is refused and the field shows the
// scale again.
void ResultsWindow::TakeTypedScale() {
  GraphWidget* graph = GraphOf(Page::Vectors);
  const std::string typed = scaleEdit_->text().trimmed().toStdString();
  const auto value = TextToReal(typed);
  if (value && *value > 0 && !IsHuge(*value)) {
    VectorScale scale = graph->Scale();
    if (scale.value == *value) return;
    scale.value = *value;
    graph->SetVectorScale(scale, graph->VectorUnit());
  } else if (typed != GeneralText(graph->Scale().value, 4)) {
    ShowVectorScale();
    showMessage_(NumberRejectedMessage(typed, NumberField::Real));
  }
  ShowVectorScale();
}

void ResultsWindow::ShowVectorScale() {
  const GraphWidget* graph = GraphOf(Page::Vectors);
  const QSignalBlocker block(scaleEdit_);
  scaleEdit_->setText(QString::fromStdString(GeneralText(graph->Scale().value, 4)));
  scaleUnit_->setText(graph->VectorUnit());
}

void ResultsWindow::ShowVideoPicture(bool shown) {
  options_.SetFlag(BoolOption::VectorVideoImage, shown);
  for (GraphWidget* graph : vectorGraphs_) graph->ShowPicture(shown);
  if (shown) UpdatePicture(*GraphOf(Page::Vectors));
}

// The picture of the clip placed under the data: its pixels go to frame fractions, then through
// the calibration to metres. The transparent, or an object taken as the frame, moves from frame to
// frame: no picture lies under it.
void ResultsWindow::UpdatePicture(GraphWidget& graph) {
  const bool still = !transparentMode_() && vectorFrame_->currentIndex() <= 0;
  const QImage picture = pictureSource_ && still ? pictureSource_() : QImage();
  if (picture.isNull()) {
    graph.SetPicture({}, {});
    return;
  }
  MetricConversion conversion = session_.Conversion();
  // Drawn as in the video, the axes are the picture's own.
  if (TrajectoryOrientation() == Orientation::Picture) {
    conversion.theta = 0;
    conversion.directX = conversion.directY = true;
  }
  const PointD e1 = ToPhysical({1, 0}, conversion);
  const PointD e2 = ToPhysical({0, 1}, conversion);
  const PointD origin = session_.CurrentOrigin();
  const double w = picture.width(), h = picture.height();
  graph.SetPicture(
      picture, QTransform(e1.x / w, e1.y / w, -e2.x / h, -e2.y / h,
                          -origin.x * e1.x + origin.y * e2.x, -origin.x * e1.y + origin.y * e2.y));
}

void ResultsWindow::RefreshVectors(bool reframe) {
  GraphWidget* graph = GraphOf(Page::Vectors);
  const auto kind = VectorKind(std::max(0, vectorKind_->currentIndex()));
  const bool fromZero = TableOptionsOf(options_).numberFromZero;
  const int reference = vectorFrame_->currentIndex() - 1;  // -1: the camera
  VectorCurves page = TrajectoryVectors(Results(), kind, reference, CheckedObjects(), fromZero,
                                        ColourOfObject(), TrajectoryOrientation());
  for (Curve& curve : page.curves) {
    curve.showNumbers = options_.Flag(BoolOption::VectorNumber);
    curve.showPolyline = options_.Flag(BoolOption::VectorPolyline);
    curve.showSpline = options_.Flag(BoolOption::VectorSpline);
    if (!options_.Flag(BoolOption::VectorDraw)) {
      curve.vx.clear();
      curve.vy.clear();
    }
  }
  ApplyGraphDisplay(*graph);
  graph->ShowOrigin(options_.Flag(BoolOption::VectorOrigin));
  graph->SetTitles(
      {QTxt(txt::GraphSymbolX), QTxt(txt::QuantityAbscissa) + " (" + QTxt(txt::UnitMetre) + ")"},
      {QTxt(txt::GraphSymbolY), QTxt(txt::QuantityOrdinate) + " (" + QTxt(txt::UnitMetre) + ")"});
  const QString unit = page.curves.empty()                ? QString()
                       : kind == VectorKind::Acceleration ? QTxt(txt::UnitMetrePerSecondSquared)
                                                          : QTxt(txt::UnitMetrePerSecond);
  graph->KeepElementsFor(SelectionKey());
  graph->ReplaceCurves(std::move(page.curves));
  VectorScale scale = graph->Scale();
  if (reframe) scale.value = RoundScaleValue(page.largest);
  graph->SetVectorScale(scale, unit);
  ShowVectorScale();
  if (graph->PictureShown() || videoButton_->isChecked()) UpdatePicture(*graph);
  if (!reframe) return;
  const PlotWindow framed = AutoWindow(page.bounds, {}, {}, 0.15);
  const PlotArea plot = graph->Plot();
  graph->SetWindow(MakeOrthonormal(framed, plot.height, plot.width), true);
}

}  // namespace kinovia
