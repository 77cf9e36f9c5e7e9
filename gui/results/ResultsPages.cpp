// The graph pages of the results window: what each one plots, how it frames it and its titles.
#include <QComboBox>
#include <QMenu>

#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/ResultsWindow.h"
#include "logic/graphs/TimeQuantities.h"
#include "logic/models/NonlinearFit.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtTable.h"

namespace kinovia {

Curve ResultsWindow::SeriesCurve(const std::vector<GraphPoint>& points, int object) const {
  Curve curve;
  curve.x.reserve(points.size());
  curve.y.reserve(points.size());
  curve.numbers.reserve(points.size());
  for (const GraphPoint& p : points) {
    curve.x.push_back(p.a);
    curve.y.push_back(p.b);
    curve.numbers.push_back(p.number);
  }
  curve.colour = QColourOf(session_.ObjectColour(object));
  curve.symbol = object;
  return curve;
}

void ResultsWindow::RefreshTime(bool reframe) {
  GraphWidget* graph = GraphOf(Page::Time);
  const int index = quantity_->currentIndex();
  if (index < 0) return;
  const TimeQuantity& quantity = TimeQuantities()[std::size_t(index)];
  const FrameResults& results = Results();
  const bool fromZero = TableOptionsOf(options_).numberFromZero;
  const auto objects = CheckedObjects();
  graph->Clear();
  PlotWindow bounds = EmptyBounds();
  for (int o : objects) {
    Curve curve = SeriesCurve(
        results.SeriesForGraph(kOrientationUser, o, kQuantityTime, quantity.kind, fromZero), o);
    for (std::size_t i = 0; i < curve.x.size(); ++i) WidenBounds(bounds, curve.x[i], curve.y[i]);
    graph->AddCurve(std::move(curve));
  }
  if (reframe && !objects.empty())
    graph->SetWindow(AutoWindow(bounds, {false, true}, quantity.framing, 0.05), false);
  const QuantityInfo& info = *QuantityInfoOf(quantity.kind);
  const QString symbol = QTxt(quantity.symbol);
  QString description = QTxt(info.description) + " ";
  if (objects.size() == 1)
    description += QString::fromStdString(session_.ObjectName(objects.front())) + " ";
  description += "(" + QTxt(info.unit) + ")";
  graph->SetTitles(
      {QTxt(txt::SymbolTime), QTxt(txt::QuantityTime) + " (" + QTxt(txt::UnitSecond) + ")"},
      objects.empty() ? QStringList{QString(), QString()} : QStringList{symbol, description});
  if (modelKind_ != kModelNone && objects.size() == 1)
    graph->SetModel(0, modelKind_, symbol, QTxt(txt::SymbolTime));
}

void ResultsWindow::RefreshTrajectory(bool reframe) {
  GraphWidget* graph = GraphOf(Page::Trajectory);
  const FrameResults& results = Results();
  const bool fromZero = TableOptionsOf(options_).numberFromZero;
  const int reference = frame_->currentIndex() - 1;  // -1: the camera
  graph->Clear();
  PlotWindow bounds = EmptyBounds();
  for (int o : CheckedObjects()) {
    if (o == reference) continue;
    Curve curve = SeriesCurve(results.RelativeTrajectory(o, reference, fromZero), o);
    curve.showNumbers = true;
    for (std::size_t i = 0; i < curve.x.size(); ++i) WidenBounds(bounds, curve.x[i], curve.y[i]);
    graph->AddCurve(std::move(curve));
  }
  graph->SetTitles(
      {QTxt(txt::GraphSymbolX), QTxt(txt::QuantityAbscissa) + " (" + QTxt(txt::UnitMetre) + ")"},
      {QTxt(txt::GraphSymbolY), QTxt(txt::QuantityOrdinate) + " (" + QTxt(txt::UnitMetre) + ")"});
  if (!reframe) return;
  const auto [width, height] = results.PictureExtent();
  const PlotWindow framed = AutoWindow(AtLeastQuarterOf(bounds, width, height), {}, {}, 0.1);
  const PlotArea plot = graph->Plot();
  graph->SetWindow(MakeOrthonormal(framed, plot.height, plot.width), true);
}

}  // namespace kinovia
