// The display menu of the results window, the page's own, and the tools the options hide. Every
// choice of the menu is kept in the options, so that the options dialog shows it and the next
// session finds it again.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <optional>

#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/FormulaPage.h"
#include "gui/results/ResultsWindow.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtApp.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtSettings.h"

namespace kinovia {
namespace {

struct DisplayFlag {
  TxtId caption;
  BoolOption option;
  bool reframe;  // where zero shows or how the trajectory lies changes the framing
};

constexpr DisplayFlag kTimeFlags[] = {
    {txt::GraphZoomX, BoolOption::TimeZoomX, false},
    {txt::GraphZoomY, BoolOption::TimeZoomY, false},
    {txt::GraphPolyline, BoolOption::TimePolyline, false},
    {txt::GraphBoxEquation, BoolOption::TempsEquation, false},
    {txt::GraphBoxStatistics, BoolOption::TempsStatistics, false},
};
constexpr DisplayFlag kFormulaFlags[] = {
    {txt::GraphZoomX, BoolOption::FormulaZoomX, false},
    {txt::GraphZoomY, BoolOption::FormulaZoomY, false},
    {txt::OptionsFormulaOriginX, BoolOption::FormulaOriginX, true},
    {txt::OptionsFormulaOriginY, BoolOption::FormulaOriginY, true},
    {txt::GraphPolyline, BoolOption::FormulaPolyline, false},
    {txt::GraphBoxEquation, BoolOption::FormulaEquation, false},
    {txt::GraphBoxStatistics, BoolOption::FormulaStatistics, false},
};
constexpr DisplayFlag kTrajectoryFlags[] = {
    {txt::GraphPolyline, BoolOption::TrajectoryPolyline, false},
};
constexpr DisplayFlag kVectorFlags[] = {
    {txt::OptionsVectorDraw, BoolOption::VectorDraw, false},
    {txt::OptionsVectorPolyline, BoolOption::VectorPolyline, false},
    {txt::OptionsVectorSpline, BoolOption::VectorSpline, false},
    {txt::OptionsVectorOrigin, BoolOption::VectorOrigin, false},
};

struct ColumnGroup {
  TxtId caption;
  BoolOption option;
  QuantitySet family;
};
const ColumnGroup kColumnGroups[] = {
    {txt::GraphShowCoordinates, BoolOption::GridShowCoordinates, kFamilyPositions},
    {txt::GraphShowSpeeds, BoolOption::GridShowSpeed, kFamilySpeeds},
    {txt::GraphShowAccelerations, BoolOption::GridShowAcceleration, kFamilyAccelerations},
    {txt::GraphShowPolar, BoolOption::GridShowPolarQuantities, kFamilyPolar},
};

std::optional<ResultsPage> ToolPageOf(ResultsWindow::Page page) {
  switch (page) {
    case ResultsWindow::Page::Formula:
      return ResultsPage::Formulas;
    case ResultsWindow::Page::Time:
      return ResultsPage::Time;
    case ResultsWindow::Page::Trajectory:
      return ResultsPage::Trajectory;
    case ResultsWindow::Page::Vectors:
      return ResultsPage::Vectors;
    default:
      return std::nullopt;
  }
}

// The option that hides a graph tool; none for the tools every graph page keeps.
std::optional<ResultsTool> HidingFlagOf(GraphWidget::Tool tool) {
  switch (tool) {
    case GraphWidget::Tool::Selection:
      return ResultsTool::Selection;
    case GraphWidget::Tool::Measure:
      return ResultsTool::Measure;
    case GraphWidget::Tool::Vector:
      return ResultsTool::Vector;
    case GraphWidget::Tool::Segment:
      return ResultsTool::Segment;
    case GraphWidget::Tool::Angle:
      return ResultsTool::Angle;
    case GraphWidget::Tool::Circle:
      return ResultsTool::Circle;
    case GraphWidget::Tool::Arc:
      return ResultsTool::Arc;
    case GraphWidget::Tool::Ellipse:
      return ResultsTool::Ellipse;
    case GraphWidget::Tool::Spline:
      return ResultsTool::Spline;
    case GraphWidget::Tool::Delete:
      return ResultsTool::Delete;
    case GraphWidget::Tool::Reticle:
      return ResultsTool::Reticle;
    default:
      return std::nullopt;
  }
}

ResultsTool HidingFlagOf(ModelKind kind) {
  switch (kind) {
    case ModelKind::Constant:
      return ResultsTool::ConstantModel;
    case ModelKind::Proportional:
      return ResultsTool::ProportionalModel;
    case ModelKind::Affine:
      return ResultsTool::AffineModel;
    case ModelKind::Parabola:
      return ResultsTool::ParabolaModel;
    case ModelKind::Sinus:
      return ResultsTool::SinusoidModel;
    case ModelKind::SinusExp:
      return ResultsTool::ExponentiallyDampedModel;
    case ModelKind::SinusLin:
      return ResultsTool::LinearlyDampedModel;
    default:
      return ResultsTool::ExponentialModel;
  }
}

}  // namespace

void ResultsWindow::ReadOptions() {
  {
    const QSignalBlocker block(videoButton_);
    videoButton_->setChecked(options_.Flag(BoolOption::VectorVideoImage));
  }
  ShowVideoPicture(videoButton_->isChecked());
  FillDisplayMenu();
  ShowToolsOfPage();
  RefreshPage(false);
}

void ResultsWindow::ApplyGraphDisplay(GraphWidget& graph) const {
  graph.SetMarks(options_.Value(IntOption::PenSize4Graph),
                 GraphNumberPlace(options_.Value(IntOption::GraphNumbering)));
  graph.SetValueBoxCorner(ValueBoxCorner(options_.Value(IntOption::ValueBoxCorner)));
}

Orientation ResultsWindow::TrajectoryOrientation() const {
  return options_.Flag(BoolOption::VectorTilted) ? Orientation::Picture : Orientation::User;
}

void ResultsWindow::AddDisplayFlag(QMenu* menu, TxtId caption, BoolOption option, bool reframe) {
  QAction* action = menu->addAction(QTxt(caption));
  action->setCheckable(true);
  action->setChecked(options_.Flag(option));
  connect(action, &QAction::toggled, this, [this, option, reframe](bool on) {
    options_.SetFlag(option, on);
    RefreshPage(reframe);
  });
}

// A sub-menu of exclusive items; `choose` gets the index of the item picked.
void ResultsWindow::AddDisplayChoice(QMenu* menu, TxtId title, const std::vector<TxtId>& captions,
                                     int chosen, std::function<void(int)> choose) {
  QMenu* sub = menu->addMenu(QTxt(title));
  auto* group = new QActionGroup(sub);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    QAction* action = sub->addAction(QTxt(captions[i]));
    action->setCheckable(true);
    action->setChecked(int(i) == chosen);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [choose, i] { choose(int(i)); });
  }
}

// The items every graph page has: the corner of the value box and the size of the points.
void ResultsWindow::AddGraphDisplayItems() {
  display_->addSeparator();
  AddDisplayChoice(
      display_, txt::GraphValueBox,
      {txt::GraphBoxUpLeft, txt::GraphBoxUpRight, txt::GraphBoxDownLeft, txt::GraphBoxDownRight},
      options_.Value(IntOption::ValueBoxCorner) - 1, [this](int corner) {
        options_.SetValue(IntOption::ValueBoxCorner, corner + 1);
        RefreshPage(false);
      });
  AddDisplayChoice(display_, txt::GraphPointSize,
                   {txt::OptionsSmall, txt::OptionsMedium, txt::OptionsLarge},
                   options_.Value(IntOption::PenSize4Graph), [this](int size) {
                     options_.SetValue(IntOption::PenSize4Graph, size);
                     RefreshPage(false);
                   });
}

// The display menu of the page on show.
void ResultsWindow::FillDisplayMenu() {
  display_->clear();
  const auto addFlags = [this](const auto& flags) {
    for (const DisplayFlag& flag : flags)
      AddDisplayFlag(display_, flag.caption, flag.option, flag.reframe);
  };
  const bool trajectory = page_ == Page::Trajectory, vectors = page_ == Page::Vectors;
  if (page_ == Page::Table) {
    for (const ColumnGroup& group : kColumnGroups) {
      QAction* action = display_->addAction(QTxt(group.caption));
      action->setCheckable(true);
      action->setChecked(options_.Flag(group.option));
      connect(action, &QAction::toggled, this,
              [this, family = group.family](bool shown) { ShowColumnGroup(family, shown); });
    }
  } else if (page_ == Page::Time) {
    addFlags(kTimeFlags);
  } else if (page_ == Page::Formula) {
    addFlags(kFormulaFlags);
  } else {
    // Numbering off is kept in the page's flag, below or to the right in one place for both.
    const BoolOption numbered =
        trajectory ? BoolOption::TrajectoryNumber : BoolOption::VectorNumber;
    AddDisplayChoice(display_, txt::MenuNumeracion,
                     {txt::OptionsUnder, txt::OptionsRight, txt::OptionsNone},
                     options_.Flag(numbered) ? options_.Value(IntOption::GraphNumbering) : 2,
                     [this, numbered](int place) {
                       options_.SetFlag(numbered, place != 2);
                       if (place != 2) options_.SetValue(IntOption::GraphNumbering, place);
                       RefreshPage(false);
                     });
    if (trajectory) addFlags(kTrajectoryFlags);
    if (vectors) addFlags(kVectorFlags);
    AddDisplayChoice(display_, txt::GraphTrajectory, {txt::GraphAsInVideo, txt::GraphOnAxes},
                     options_.Flag(BoolOption::VectorTilted) ? 0 : 1, [this](int onAxes) {
                       options_.SetFlag(BoolOption::VectorTilted, onAxes == 0);
                       RefreshPage(true);
                     });
    if (vectors) {
      QAction* video = display_->addAction(QTxt(txt::OptionsVectorVideoImage));
      video->setCheckable(true);
      video->setChecked(videoButton_->isChecked());
      connect(video, &QAction::toggled, videoButton_, &QAction::setChecked);
    }
  }
  if (page_ != Page::Table) AddGraphDisplayItems();
}

void ResultsWindow::ShowColumnGroup(QuantitySet group, bool shown) {
  for (const ColumnGroup& column : kColumnGroups)
    if ((group.Bits() & column.family.Bits()) != 0) options_.SetFlag(column.option, shown);
  results_.MarkStale(FrameSelector::Both);
  Refresh();
}

void ResultsWindow::ShowToolsOfPage() {
  const auto pages = pageBar_->actions();
  for (int b = 0; b < pages.size(); ++b) pages[b]->setVisible(ResultsPageOffered(options_, b));
  const std::optional<ResultsPage> page = ToolPageOf(page_);
  for (QAction* action : tools_->actions()) {
    const auto tool = GraphWidget::Tool(action->data().toInt());
    const std::optional<ResultsTool> flag = HidingFlagOf(tool);
    bool shown = page.has_value();
    if (tool == GraphWidget::Tool::Vector) shown = shown && page_ == Page::Vectors;
    if (tool == GraphWidget::Tool::ModelModifier)
      shown = shown && !options_.ModelModifierHidden(*page);
    else if (flag)
      shown = shown && !options_.ToolHidden(*page, *flag);
    action->setVisible(shown);
    if (!shown && action->isChecked()) action->setChecked(false);
  }
  for (QAction* action : models_->actions()) {
    const bool shown =
        page && !options_.ToolHidden(*page, HidingFlagOf(ModelKind(action->data().toInt())));
    action->setVisible(shown);
    if (!shown && action->isChecked() && HasModelPage()) ChooseModel(ModelKind::None);
  }
  duplicate_->setVisible(page && !options_.ToolHidden(*page, ResultsTool::Duplicate));
  videoButton_->setVisible(page_ == Page::Vectors &&
                           !options_.ToolHidden(ResultsPage::Vectors, ResultsTool::Video));
}

}  // namespace kinovia
