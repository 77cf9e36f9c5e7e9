// The graph pages of the results window: what each one plots, how it frames it and its titles.
#include <QComboBox>
#include <QMenu>

#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/FormulaPage.h"
#include "gui/results/PageCurves.h"
#include "gui/results/ResultsWindow.h"
#include "logic/graphs/TimeQuantities.h"
#include "logic/models/NonlinearFit.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtTable.h"

namespace kinovia {

std::function<QColor(int)> ResultsWindow::ColourOfObject() const {
  return [this](int object) { return QColourOf(session_.ObjectColour(object)); };
}

void ResultsWindow::RefreshTime(bool reframe) {
  GraphWidget* graph = GraphOf(Page::Time);
  const int index = quantity_->currentIndex();
  if (index < 0) return;
  const TimeQuantity& quantity = TimeQuantities()[std::size_t(index)];
  const FrameResults& results = Results();
  const bool fromZero = TableOptionsOf(options_).numberFromZero;
  const auto objects = CheckedObjects();
  PageCurves page = TimeCurves(results, quantity.kind, objects, fromZero, ColourOfObject());
  graph->KeepElementsFor(SelectionKey());
  for (Curve& curve : page.curves) curve.showPolyline = options_.Flag(BoolOption::TimePolyline);
  ApplyGraphDisplay(*graph);
  graph->ReplaceCurves(std::move(page.curves));
  graph->SetZoomAxes(options_.Flag(BoolOption::TimeZoomX), options_.Flag(BoolOption::TimeZoomY));
  if (reframe && !objects.empty())
    graph->SetWindow(AutoWindow(page.bounds, {false, true}, quantity.framing, 0.05), false);
  const QuantityInfo& info = *QuantityInfoOf(quantity.kind);
  const QString symbol = QTxt(quantity.symbol);
  QString description = QTxt(info.description) + " ";
  if (objects.size() == 1)
    description += QString::fromStdString(session_.ObjectName(objects.front())) + " ";
  description += "(" + QTxt(info.unit) + ")";
  graph->SetTitles(
      {QTxt(txt::SymbolTime), QTxt(txt::QuantityTime) + " (" + QTxt(txt::UnitSecond) + ")"},
      objects.empty() ? QStringList{QString(), QString()} : QStringList{symbol, description});
  graph->ShowModelBlock(options_.Flag(BoolOption::TempsEquation),
                        options_.Flag(BoolOption::TempsStatistics));
  // A curve that kept its points kept its fitted model.
  const Curve& curve = graph->CurveAt(0);
  const bool fitted = curve.model && curve.model->Kind() == modelKind_;
  if (modelKind_ == ModelKind::None || objects.size() != 1)
    graph->SetModel(0, ModelKind::None, {}, {});
  else if (!fitted)
    graph->SetModel(0, modelKind_, symbol, QTxt(txt::SymbolTime));
}

void ResultsWindow::RefreshTrajectory(bool reframe) {
  GraphWidget* graph = GraphOf(Page::Trajectory);
  const FrameResults& results = Results();
  const bool fromZero = TableOptionsOf(options_).numberFromZero;
  const int reference = frame_->currentIndex() - 1;  // -1: the camera
  PageCurves page = TrajectoryCurves(results, reference, CheckedObjects(), fromZero,
                                     ColourOfObject(), TrajectoryOrientation());
  for (Curve& curve : page.curves) {
    curve.showNumbers = options_.Flag(BoolOption::TrajectoryNumber);
    curve.showPolyline = options_.Flag(BoolOption::TrajectoryPolyline);
  }
  ApplyGraphDisplay(*graph);
  graph->KeepElementsFor(SelectionKey());
  graph->ReplaceCurves(std::move(page.curves));
  graph->SetTitles(
      {QTxt(txt::GraphSymbolX), QTxt(txt::QuantityAbscissa) + " (" + QTxt(txt::UnitMetre) + ")"},
      {QTxt(txt::GraphSymbolY), QTxt(txt::QuantityOrdinate) + " (" + QTxt(txt::UnitMetre) + ")"});
  if (!reframe) return;
  const auto [width, height] = results.PictureExtent();
  const PlotWindow framed = AutoWindow(AtLeastQuarterOf(page.bounds, width, height), {}, {}, 0.1);
  const PlotArea plot = graph->Plot();
  graph->SetWindow(MakeOrthonormal(framed, plot.height, plot.width), true);
}

void ResultsWindow::RefreshFormulas(bool reframe) {
  formulaPage_->Settings() = {
      options_.Flag(BoolOption::FormulaZoomX),     options_.Flag(BoolOption::FormulaZoomY),
      options_.Flag(BoolOption::FormulaOriginX),   options_.Flag(BoolOption::FormulaOriginY),
      options_.Flag(BoolOption::FormulaPolyline),  options_.Flag(BoolOption::FormulaEquation),
      options_.Flag(BoolOption::FormulaStatistics)};
  ApplyGraphDisplay(*formulaPage_->Graph());
  formulaPage_->Refresh(reframe, modelKind_, TableOptionsOf(options_).numberFromZero);
}

bool ResultsWindow::OneCurveChecked() const {
  if (page_ == Page::Formula) return formulaPage_->CheckedOrdinates().size() == 1;
  return page_ != Page::Time || CheckedObjects().size() == 1;
}

}  // namespace kinovia
