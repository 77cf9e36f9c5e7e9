#include "gui/results/ResultsWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Message.h"
#include "core/Numbers.h"
#include "gui/FormulasDialog.h"
#include "gui/QtText.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/ResultsPrinting.h"
#include "gui/results/ResultsTableModel.h"
#include "logic/graphs/TimeQuantities.h"
#include "logic/models/NonlinearFit.h"
#include "logic/results/ResultsSource.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtFormulas.h"
#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

struct PageButton {
  ResultsWindow::Page page;
  TxtId caption;
};
constexpr PageButton kPageButtons[] = {
    {ResultsWindow::Page::Table, txt::ResultsTabla},
    {ResultsWindow::Page::Time, txt::ResultsEvolucion},
    {ResultsWindow::Page::Trajectory, txt::ResultsTrayectoria},
};

struct ModelButton {
  ModelKind kind;
  TxtId caption;
};
constexpr ModelButton kModelButtons[] = {
    {ModelKind::Constant, txt::ModelNameConstant},
    {ModelKind::Proportional, txt::ModelNameProportional},
    {ModelKind::Affine, txt::ModelNameAffine},
    {ModelKind::Parabola, txt::ModelNameParabola},
    {ModelKind::Exponential, txt::ModelNameExponential},
    {ModelKind::Sinus, txt::ModelNameSinus},
    {ModelKind::SinusExp, txt::ModelNameSinusExp},
    {ModelKind::SinusLin, txt::ModelNameSinusLin},
};

constexpr QColor kGridBackground(255, 252, 255);

// The hint's text after its "|", as the tool tips show it.
QString HintOf(TxtId id) { return QTxt(id).section('|', 1); }

}  // namespace

ResultsWindow::ResultsWindow(Session& session, const Options& options,
                             std::function<bool()> transparentMode, ShowMessage showMessage,
                             QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      options_(options),
      transparentMode_(std::move(transparentMode)),
      showMessage_(std::move(showMessage)),
      results_(transparentMode_),
      tables_(transparentMode_),
      modelKind_(ModelKind::None) {
  setObjectName("ResultsWindow");
  resize(900, 640);
  stack_ = new QStackedWidget(this);
  table_ = new QTableView(stack_);
  tableModel_ =
      new ResultsTableModel([this]() -> const FrameResults& { return Results(); },
                            [this]() -> const TableLayout& { return tables_.Current(); }, this);
  table_->setModel(tableModel_);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setDefaultSectionSize(96);
  QPalette palette = table_->palette();
  palette.setColor(QPalette::Base, kGridBackground);
  table_->setPalette(palette);
  stack_->addWidget(table_);
  for (std::size_t f = 0; f < 2; ++f) {
    timeGraphs_[f] = new GraphWidget(stack_);
    trajectoryGraphs_[f] = new GraphWidget(stack_);
    GraphWidget::Layout trajectory;
    trajectory.begin = QColor(255, 243, 220);
    trajectory.end = QColor(252, 225, 195);
    trajectoryGraphs_[f]->SetLayout(trajectory);
    for (GraphWidget* graph : {timeGraphs_[f], trajectoryGraphs_[f]}) {
      stack_->addWidget(graph);
      connect(graph, &GraphWidget::reticleMoved, this, [this](double x, double y) {
        coordinates_->setText(HintOf(txt::GraphReticleHint) + " " +
                              QString::fromStdString(FormatValue(2, x)) + " ; " +
                              QString::fromStdString(FormatValue(2, y)));
      });
    }
  }
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  BuildChoicePanel();
  layout->addWidget(choicePanel_);
  BuildModelBar();
  layout->addWidget(modelBar_);
  layout->addWidget(stack_, 1);
  setCentralWidget(central);
  coordinates_ = new QLabel(this);
  statusBar()->addWidget(coordinates_, 1);
  BuildToolBar();
  BuildMenus();

  session_.Subscribe(SessionEvent::ResultsStale, [this](const Session&) { MarkStale(); });
  ShowPage(Page::Table);
}

// The view asks its model for cells until it is destroyed, after this window's members are gone.
ResultsWindow::~ResultsWindow() { table_->setModel(nullptr); }

void ResultsWindow::BuildToolBar() {
  QToolBar* bar = addToolBar("pages");
  bar->setMovable(false);
  for (const PageButton& button : kPageButtons) {
    QAction* action = bar->addAction(QTxt(button.caption));
    action->setToolTip(QTxt(button.caption));
    connect(action, &QAction::triggered, this, [this, button] { ShowPage(button.page); });
  }
  bar->addSeparator();
  tools_ = new QActionGroup(this);
  tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const std::pair<GraphWidget::Tool, std::pair<TxtId, TxtId>> tools[] = {
      {GraphWidget::Tool::Zoom, {txt::GraphZoom, txt::GraphZoomHint}},
      {GraphWidget::Tool::Pan, {txt::GraphPan, txt::GraphPanHint}},
      {GraphWidget::Tool::Reticle, {txt::GraphReticle, txt::GraphReticleHint}},
  };
  for (const auto& [tool, texts] : tools) {
    QAction* action = bar->addAction(QTxt(texts.first));
    action->setCheckable(true);
    action->setToolTip(HintOf(texts.second));
    action->setData(int(tool));
    tools_->addAction(action);
  }
  connect(tools_, &QActionGroup::triggered, this, [this](QAction* action) {
    SetGraphTool(action->isChecked() ? action->data().toInt() : 0);
  });
  bar->addSeparator();
  // The formula keyboard: the dialog of the user's variables, constants and their keyboard.
  keyboardAction_ = bar->addAction(QTxt(txt::FormulasKeyboard));
  connect(keyboardAction_, &QAction::triggered, this,
          [this] { EditSessionFormulas(session_, options_, this); });
  bar->addSeparator();
  connect(bar->addAction(QTxt(txt::GraphBackToVideo)), &QAction::triggered, this, &QWidget::hide);
}

// Copying and printing here; the export entries of these menus come with the export server.
void ResultsWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QTxt(txt::MenuArchivo));
  connect(file->addAction(QTxt(txt::GraphPrint)), &QAction::triggered, this,
          &ResultsWindow::PrintPage);
  file->addSeparator();
  connect(file->addAction(QTxt(txt::GraphBackToVideo)), &QAction::triggered, this, &QWidget::hide);
  QMenu* edit = menuBar()->addMenu(QTxt(txt::GraphMenuEdit));
  connect(edit->addAction(QTxt(txt::GraphCopyPicture)), &QAction::triggered, this,
          &ResultsWindow::CopyPicture);
  edit->addSeparator();
  connect(edit->addAction(QTxt(txt::GraphRestore)), &QAction::triggered, this,
          &ResultsWindow::RestoreGraph);
  connect(edit->addAction(QTxt(txt::GraphRestoreTable)), &QAction::triggered, this, [this] {
    MarkStale();
    ShowPage(Page::Table);
  });
}

void ResultsWindow::PrintPage() {
  QPrinter printer;
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    if (GraphWidget* graph = CurrentGraph())
      PrintGraph(*target, *graph, windowTitle());
    else
      PrintTable(*target, *tableModel_, windowTitle());
  });
  preview.exec();
}

void ResultsWindow::BuildChoicePanel() {
  choicePanel_ = new QWidget(this);
  auto* row = new QHBoxLayout(choicePanel_);
  label1_ = new QLabel(choicePanel_);
  quantity_ = new QComboBox(choicePanel_);
  objects_ = new QToolButton(choicePanel_);
  objects_->setPopupMode(QToolButton::InstantPopup);
  objects_->setMinimumWidth(160);
  objectMenu_ = new QMenu(objects_);
  objects_->setMenu(objectMenu_);
  label2_ = new QLabel(choicePanel_);
  frame_ = new QComboBox(choicePanel_);
  row->addWidget(label1_);
  row->addWidget(quantity_);
  row->addWidget(objects_);
  row->addWidget(label2_);
  row->addWidget(frame_);
  row->addStretch(1);
  for (const TimeQuantity& q : TimeQuantities())
    quantity_->addItem(QTxt(q.symbol) + "  " + QTxt(QuantityInfoOf(q.kind)->description));
  connect(quantity_, &QComboBox::activated, this, [this] { RefreshPage(true); });
  connect(frame_, &QComboBox::activated, this, [this] { RefreshPage(true); });
}

void ResultsWindow::BuildModelBar() {
  auto* bar = new QToolBar(this);
  modelBar_ = bar;
  bar->addWidget(new QLabel(QTxt(txt::ModelWord) + " :", bar));
  models_ = new QActionGroup(this);
  models_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const ModelButton& button : kModelButtons) {
    QAction* action = bar->addAction(QTxt(button.caption));
    action->setCheckable(true);
    action->setData(int(button.kind));
    models_->addAction(action);
  }
  connect(models_, &QActionGroup::triggered, this, [this](QAction* action) {
    ChooseModel(action->isChecked() ? ModelKind(action->data().toInt()) : ModelKind::None);
  });
}

GraphWidget* ResultsWindow::GraphOf(Page page) const {
  const std::size_t f = transparentMode_() ? 1 : 0;
  switch (page) {
    case Page::Time:
      return timeGraphs_[f];
    case Page::Trajectory:
      return trajectoryGraphs_[f];
    default:
      return nullptr;
  }
}

GraphWidget* ResultsWindow::CurrentGraph() const { return GraphOf(page_); }

const FrameResults& ResultsWindow::Results() const { return results_.Current(); }

void ResultsWindow::ShowPage(Page page) {
  page_ = page;
  const bool time = page == Page::Time;
  const bool trajectory = page == Page::Trajectory;
  choicePanel_->setVisible(time || trajectory);
  modelBar_->setVisible(time);
  quantity_->setVisible(time);
  frame_->setVisible(trajectory);
  label1_->setText(trajectory ? QTxt(txt::GraphTrajectory) : QString());
  label1_->setVisible(trajectory);
  label2_->setText(time ? QTxt(txt::GraphAgainstTime) : QTxt(txt::GraphInFrame));
  choicePanel_->setToolTip(trajectory           ? HintOf(txt::GraphFramesHint)
                           : transparentMode_() ? HintOf(txt::GraphMovingFrameHint)
                                                : HintOf(txt::GraphFixedFrameHint));
  const TxtId captions[] = {txt::ResultsFormulas, txt::ResultsTrayectoria, txt::ResultsTabla,
                            txt::ResultsEvolucion, txt::ResultsVectores};
  setWindowTitle(QTxt(captions[int(page)]));
  GraphWidget* graph = CurrentGraph();
  stack_->setCurrentWidget(graph ? static_cast<QWidget*>(graph) : table_);
  if (graph) SetGraphTool(tools_->checkedAction() ? tools_->checkedAction()->data().toInt() : 0);
  RefreshPage(true);
}

void ResultsWindow::MarkStale() {
  results_.MarkStale(FrameSelector::Both);
  if (!isVisible() || refreshQueued_) return;
  // Many changes in one user action (an undo group) make one refresh.
  refreshQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshQueued_ = false;
    Refresh();
  });
}

void ResultsWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Refresh();
}

void ResultsWindow::Refresh() {
  if (!results_.Current().IsStale()) return;
  auto table = PrepareTable(session_, HiddenFamiliesOf(options_), DerivationFlagsOf(options_),
                            FormulaSettingsOf(options_), formulas_);
  if (!table) return;
  FrameResults& results = results_.Current();
  results = std::move(table->results);
  tables_.Current() = std::move(table->layout);
  if (results.ObjectCount() != objectCount_) FillObjectLists();
  std::vector<std::string> names;
  for (int o = 0; o < results.ObjectCount(); ++o) names.push_back(session_.ObjectName(o));
  tableModel_->Reload(std::move(names), TableOptionsOf(options_));
  // A graph the user zoomed or moved keeps its window; the others follow the data.
  const GraphWidget* graph = CurrentGraph();
  RefreshPage(graph && graph->ZoomFactorX() == 1 && graph->ZoomFactorY() == 1);
}

void ResultsWindow::RefreshPage(bool reframe) {
  if (results_.Current().IsStale()) return;
  switch (page_) {
    case Page::Time:
      RefreshTime(reframe);
      break;
    case Page::Trajectory:
      RefreshTrajectory(reframe);
      break;
    default:
      break;
  }
}

void ResultsWindow::RestoreGraph() {
  if (CurrentGraph()) RefreshPage(true);
}

void ResultsWindow::FillObjectLists() {
  objectCount_ = results_.Current().ObjectCount();
  objectMenu_->clear();
  frame_->clear();
  frame_->addItem(QTxt(txt::GraphCameraFrame));
  for (int o = 0; o < objectCount_; ++o) {
    const QString name = QString::fromStdString(session_.ObjectName(o));
    QAction* action = objectMenu_->addAction(name);
    action->setCheckable(true);
    action->setChecked(true);
    connect(action, &QAction::toggled, this, [this] {
      UpdateObjectButton();
      RefreshPage(true);
    });
    frame_->addItem(QTxt(txt::GraphObjectFrame).replace("%s", name));
  }
  UpdateObjectButton();
}

std::vector<int> ResultsWindow::CheckedObjects() const {
  std::vector<int> checked;
  const auto actions = objectMenu_->actions();
  for (int o = 0; o < actions.size(); ++o)
    if (actions[o]->isChecked()) checked.push_back(o);
  return checked;
}

void ResultsWindow::CheckObjects(const std::vector<int>& objects) {
  const auto actions = objectMenu_->actions();
  for (int o = 0; o < actions.size(); ++o) {
    const QSignalBlocker block(actions[o]);
    actions[o]->setChecked(objects.empty() ||
                           std::find(objects.begin(), objects.end(), o) != objects.end());
  }
  UpdateObjectButton();
  RefreshPage(true);
}

void ResultsWindow::SelectQuantity(int index) {
  quantity_->setCurrentIndex(index);
  RefreshPage(true);
}

// One name when one object is checked; a fixed text when several are.
void ResultsWindow::UpdateObjectButton() {
  const auto checked = CheckedObjects();
  objects_->setText(checked.empty() ? QTxt(txt::GraphNoObject)
                    : checked.size() > 1
                        ? QTxt(txt::GraphSeveralObjects)
                        : QString::fromStdString(session_.ObjectName(checked.front())));
}

bool ResultsWindow::ChooseModel(ModelKind kind) {
  if (kind != ModelKind::None && page_ == Page::Time && CheckedObjects().size() != 1) {
    for (QAction* action : models_->actions()) action->setChecked(false);
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::GraphModelOneCurve);
    showMessage_(m);
    return false;
  }
  modelKind_ = kind;
  for (QAction* action : models_->actions())
    action->setChecked(ModelKind(action->data().toInt()) == kind);
  if (kind != ModelKind::None)
    for (QAction* action : tools_->actions()) action->setChecked(false);
  SetGraphTool(0);
  RefreshPage(false);
  return true;
}

// Without a zoom, pan or reticle tool, a graph with a model tells the model's block under the
// mouse.
void ResultsWindow::SetGraphTool(int tool) {
  GraphWidget* graph = CurrentGraph();
  if (!graph) return;
  const bool model = page_ == Page::Time && modelKind_ != ModelKind::None;
  const auto chosen = tool != 0 ? GraphWidget::Tool(tool)
                      : model   ? GraphWidget::Tool::ModelShown
                                : GraphWidget::Tool::None;
  graph->SetTool(chosen);
  const TxtId hint = chosen == GraphWidget::Tool::Zoom      ? txt::GraphZoomHint
                     : chosen == GraphWidget::Tool::Pan     ? txt::GraphPanHint
                     : chosen == GraphWidget::Tool::Reticle ? txt::GraphReticleHint
                                                            : txt::GraphModelHint;
  graph->setToolTip(chosen == GraphWidget::Tool::None ? QString() : HintOf(hint));
  coordinates_->clear();
}

void ResultsWindow::CopyPicture() {
  if (GraphWidget* graph = CurrentGraph()) {
    QApplication::clipboard()->setImage(graph->Picture(graph->size()));
    return;
  }
  table_->selectAll();
}

}  // namespace kinovia
