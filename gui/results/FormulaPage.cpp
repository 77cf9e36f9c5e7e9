#include "gui/results/FormulaPage.h"

#include <QComboBox>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>
#include <algorithm>
#include <iterator>

#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

// The curves' colours in the order of the checked ordinates; the list's entries show theirs, so
// that the list is the graph's legend.
const QColor kCurveColours[] = {QColor(0, 0, 200),   QColor(200, 0, 0),   QColor(0, 128, 0),
                                QColor(160, 0, 160), QColor(0, 128, 128), QColor(128, 80, 0)};

QColor CurveColour(std::size_t n) { return kCurveColours[n % std::size(kCurveColours)]; }

QIcon ColourIcon(const QColor& colour) {
  QPixmap square(12, 12);
  square.fill(colour);
  return QIcon(square);
}

QString HintOf(TxtId id) { return QTxt(id).section('|', 1); }

}  // namespace

FormulaPage::FormulaPage(QWidget* graphParent, QWidget* choiceParent)
    : QObject(graphParent),
      graph_(new GraphWidget(graphParent)),
      ordinateButton_(new QToolButton(choiceParent)),
      ordinates_(new QMenu(ordinateButton_)),
      abscissa_(new QComboBox(choiceParent)) {
  GraphWidget::Layout layout;
  layout.begin = QColor(255, 255, 225);
  layout.end = QColor(245, 245, 198);
  graph_->SetLayout(layout);
  ordinateButton_->setPopupMode(QToolButton::InstantPopup);
  ordinateButton_->setMinimumWidth(160);
  ordinateButton_->setMenu(ordinates_);
  ordinateButton_->setToolTip(HintOf(txt::GraphOrdinatesHint));
  abscissa_->setToolTip(HintOf(txt::GraphAbscissaHint));
  abscissa_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(abscissa_, &QComboBox::activated, this, &FormulaPage::choiceChanged);
}

void FormulaPage::SetAxes(std::vector<FormulaAxis> axes) {
  const bool first = abscissa_->count() == 0;
  QStringList checked;
  for (int o : CheckedOrdinates()) checked << QString::fromStdString(axes_[std::size_t(o)].symbol);
  QString abscissa = abscissa_->currentData().toString();
  axes_ = std::move(axes);
  if (first) {
    for (const FormulaAxis& axis : axes_)
      if (axis.user) checked << QString::fromStdString(axis.symbol);
  }
  FillLists(checked, abscissa);
}

void FormulaPage::FillLists(const QStringList& checked, const QString& abscissa) {
  const QSignalBlocker block(abscissa_);
  ordinates_->clear();
  abscissa_->clear();
  for (const FormulaAxis& axis : axes_) {
    const QString symbol = QString::fromStdString(axis.symbol);
    const QString caption = axis.description.empty()
                                ? symbol
                                : symbol + "  " + QString::fromStdString(axis.description);
    QAction* action = ordinates_->addAction(caption);
    action->setData(symbol);
    action->setCheckable(true);
    action->setChecked(checked.contains(symbol));
    connect(action, &QAction::toggled, this, [this] {
      UpdateOrdinateButton();
      emit choiceChanged();
    });
    abscissa_->addItem(caption, symbol);
  }
  // Time when nothing else was chosen: it is the table's first column.
  abscissa_->setCurrentIndex(std::max(abscissa_->findData(abscissa), 0));
  UpdateOrdinateButton();
}

std::vector<int> FormulaPage::CheckedOrdinates() const {
  std::vector<int> checked;
  const auto actions = ordinates_->actions();
  for (int o = 0; o < actions.size() && o < int(axes_.size()); ++o)
    if (actions[o]->isChecked()) checked.push_back(o);
  return checked;
}

bool FormulaPage::Choose(const QString& abscissa, const QStringList& ordinates) {
  const int x = FormulaAxisIndex(axes_, abscissa.toStdString());
  if (x < 0) return false;
  QStringList symbols;
  for (const QString& ordinate : ordinates) {
    const int index = FormulaAxisIndex(axes_, ordinate.toStdString());
    if (index < 0) return false;
    symbols << QString::fromStdString(axes_[std::size_t(index)].symbol);
  }
  if (ordinates.isEmpty())
    for (int o : CheckedOrdinates())
      symbols << QString::fromStdString(axes_[std::size_t(o)].symbol);
  FillLists(symbols, QString::fromStdString(axes_[std::size_t(x)].symbol));
  emit choiceChanged();
  return true;
}

// One name when one ordinate is checked, a fixed text when several are; each entry wears the
// colour of its curve.
void FormulaPage::UpdateOrdinateButton() {
  const auto checked = CheckedOrdinates();
  const auto actions = ordinates_->actions();
  for (QAction* action : actions) action->setIcon(QIcon());
  for (std::size_t n = 0; n < checked.size(); ++n)
    actions[checked[n]]->setIcon(ColourIcon(CurveColour(n)));
  ordinateButton_->setText(checked.empty()      ? QTxt(txt::GraphNoCurve)
                           : checked.size() > 1 ? QTxt(txt::GraphSeveralCurves)
                                                : actions[checked.front()]->data().toString());
}

void FormulaPage::Refresh(bool reframe, ModelKind model, bool numberFromZero) {
  const int x = abscissa_->currentIndex();
  const auto checked = CheckedOrdinates();
  if (x < 0 || x >= int(axes_.size())) {
    graph_->ReplaceCurves({});
    return;
  }
  const FormulaAxis& abscissa = axes_[std::size_t(x)];
  PlotWindow bounds = EmptyBounds();
  std::vector<Curve> curves;
  for (std::size_t n = 0; n < checked.size(); ++n) {
    Curve& curve = curves.emplace_back();
    for (const GraphPoint& p :
         FormulaSeries(abscissa, axes_[std::size_t(checked[n])], numberFromZero)) {
      curve.x.push_back(p.a);
      curve.y.push_back(p.b);
      curve.numbers.push_back(p.number);
      WidenBounds(bounds, p.a, p.b);
    }
    curve.colour = CurveColour(n);
    curve.symbol = int(n);
    curve.showPolyline = display_.polyline;
  }
  // A new framing starts the models again: the curves may now be other quantities.
  if (reframe) graph_->Clear();
  graph_->ReplaceCurves(std::move(curves));
  graph_->SetZoomAxes(display_.zoomX, display_.zoomY);
  if (reframe && !checked.empty()) {
    const auto [frameX, frameY] =
        FormulaFraming(abscissa.time, display_.zeroOnAbscissa, display_.zeroOnOrdinate);
    graph_->SetWindow(AutoWindow(bounds, frameX, frameY, 0.05), false);
  }
  const FormulaTitles titles = FormulaPageTitles(axes_, checked, x);
  const auto lines = [](const std::pair<std::string, std::string>& title) {
    return QStringList{QString::fromStdString(title.first), QString::fromStdString(title.second)};
  };
  graph_->SetTitles(lines(titles.x), lines(titles.y));
  graph_->ShowModelBlock(display_.equation, display_.statistics);
  if (checked.size() != 1 || model == ModelKind::None) {
    if (graph_->CurveCount() > 0) graph_->SetModel(0, ModelKind::None, {}, {});
    return;
  }
  // A curve that kept its points kept its fitted model.
  const Curve& curve = graph_->CurveAt(0);
  if (!curve.model || curve.model->Kind() != model)
    graph_->SetModel(0, model, lines(titles.y).front(), lines(titles.x).front());
}

}  // namespace kinovia
