#include "gui/results/ResultsWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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
#include "gui/HelpPage.h"
#include "gui/QtText.h"
#include "gui/export/ExportServer.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/FormulaPage.h"
#include "gui/results/ResultsPrinting.h"
#include "gui/results/ResultsTableModel.h"
#include "logic/export/ExportedTable.h"
#include "logic/graphs/FormulaAxes.h"
#include "logic/graphs/TimeQuantities.h"
#include "logic/models/NonlinearFit.h"
#include "logic/results/ResultsChanges.h"
#include "logic/results/ResultsSource.h"
#include "logic/session/Session.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtExport.h"
#include "resources/TxtFormulas.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtSettings.h"
#include "resources/TxtTable.h"

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
    {ResultsWindow::Page::Vectors, txt::ResultsVectores},
    {ResultsWindow::Page::Formula, txt::ResultsFormulas},
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

ResultsWindow::ResultsWindow(Session& session, Options& options,
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
  // One tool at a time across the tool bars: graph tools, construction tools, the modifier.
  tools_ = new QActionGroup(this);
  tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  resize(1100, 680);
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
    vectorGraphs_[f] = new GraphWidget(stack_);
    GraphWidget::Layout trajectory;
    trajectory.begin = QColor(255, 243, 220);
    trajectory.end = QColor(252, 225, 195);
    trajectoryGraphs_[f]->SetLayout(trajectory);
    vectorGraphs_[f]->SetLayout(
        {0, 0, 0, 0, QColor(235, 241, 243), QColor(202, 229, 245), {}, false});
    vectorGraphs_[f]->ShowScales(true, true);
    for (GraphWidget* graph : {timeGraphs_[f], trajectoryGraphs_[f], vectorGraphs_[f]}) {
      stack_->addWidget(graph);
      graph->SetMeasureUnit(QTxt(txt::UnitMetre));
      connect(graph, &GraphWidget::elementsChanged, this, &ResultsWindow::UpdateUndoCaption);
      connect(graph, &GraphWidget::reticleMoved, this, &ResultsWindow::ShowReticle);
    }
  }
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  BuildChoicePanel();
  layout->addWidget(choicePanel_);
  GraphWidget* formulaGraph = formulaPage_->Graph();
  stack_->addWidget(formulaGraph);
  connect(formulaGraph, &GraphWidget::reticleMoved, this, &ResultsWindow::ShowReticle);
  connect(formulaPage_, &FormulaPage::choiceChanged, this, [this] { RefreshPage(true); });
  BuildModelBar();
  layout->addWidget(modelBar_);
  layout->addWidget(stack_, 1);
  setCentralWidget(central);
  coordinates_ = new QLabel(this);
  statusBar()->addWidget(coordinates_, 1);
  BuildToolBar();
  BuildConstructionBar();
  BuildMenus();

  session_.Subscribe(SessionEvent::ResultsStale, [this](const Session&) { MarkStale(); });
  ReadOptions();
  ShowPage(Page::Table);
}

// The view asks its model for cells until it is destroyed, after this window's members are gone.
ResultsWindow::~ResultsWindow() { table_->setModel(nullptr); }

void ResultsWindow::BuildToolBar() {
  QToolBar* bar = addToolBar("pages");
  pageBar_ = bar;
  bar->setMovable(false);
  for (const PageButton& button : kPageButtons) {
    QAction* action = bar->addAction(QTxt(button.caption));
    action->setToolTip(QTxt(button.caption));
    connect(action, &QAction::triggered, this, [this, button] { ShowPage(button.page); });
  }
  // The graph tools open the second row: one row would not hold them beside the pages.
  addToolBarBreak();
  bar = addToolBar("tools");
  bar->setMovable(false);
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
  connect(tools_, &QActionGroup::triggered, this, &ResultsWindow::ToolClicked);
  bar->addSeparator();
  videoButton_ = bar->addAction(QTxt(txt::GraphVideo));
  videoButton_->setCheckable(true);
  videoButton_->setToolTip(HintOf(txt::GraphVideoHint));
  connect(videoButton_, &QAction::toggled, this, &ResultsWindow::ShowVideoPicture);
  // The formula keyboard: the dialog of the user's variables, constants and their keyboard.
  keyboardAction_ = bar->addAction(QTxt(txt::FormulasKeyboard));
  connect(keyboardAction_, &QAction::triggered, this,
          [this] { EditSessionFormulas(session_, options_, this); });
  bar->addSeparator();
  connect(bar->addAction(QTxt(txt::GraphBackToVideo)), &QAction::triggered, this, &QWidget::hide);
}

void ResultsWindow::BuildConstructionBar() {
  // A row of their own: beside the graph tools they overflow a school laptop's screen.
  addToolBarBreak();
  constructionBar_ = addToolBar("construction");
  constructionBar_->setMovable(false);
  const std::pair<GraphWidget::Tool, TxtId> tools[] = {
      {GraphWidget::Tool::Selection, txt::GraphToolSelectionHint},
      {GraphWidget::Tool::Measure, txt::GraphToolMeasureHint},
      {GraphWidget::Tool::Vector, txt::GraphToolVectorHint},
      {GraphWidget::Tool::Segment, txt::GraphToolSegmentHint},
      {GraphWidget::Tool::Angle, txt::GraphToolAngleHint},
      {GraphWidget::Tool::Circle, txt::GraphToolCircleHint},
      {GraphWidget::Tool::Arc, txt::GraphToolArcHint},
      {GraphWidget::Tool::Ellipse, txt::GraphToolEllipseHint},
      {GraphWidget::Tool::Spline, txt::GraphToolSplineHint},
      {GraphWidget::Tool::Delete, txt::GraphToolDeleteHint},
  };
  for (const auto& [tool, hint] : tools) {
    QAction* action = constructionBar_->addAction(QTxt(hint).section('|', 0, 0));
    action->setCheckable(true);
    action->setToolTip(HintOf(hint));
    action->setData(int(tool));
    tools_->addAction(action);
  }
  // Not a mode: it acts at once on the selected element.
  duplicate_ = constructionBar_->addAction(QTxt(txt::GraphToolDuplicateHint).section('|', 0, 0));
  duplicate_->setToolTip(HintOf(txt::GraphToolDuplicateHint));
  connect(duplicate_, &QAction::triggered, this, [this] {
    if (GraphWidget* graph = CurrentGraph()) graph->DuplicateSelected();
  });
}

// The modifier needs a model: without one it pops up again with a message, and the tool that was
// on before comes back.
void ResultsWindow::ToolClicked(QAction* action) {
  if (action == modifier_ && action->isChecked() &&
      (!HasModelPage() || modelKind_ == ModelKind::None)) {
    action->setChecked(false);
    if (previousTool_) previousTool_->setChecked(true);
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::GraphModifierNeedsModel);
    showMessage_(m);
  }
  QAction* checked = tools_->checkedAction();
  previousTool_ = checked == modifier_ ? previousTool_ : checked;
  SetGraphTool(checked ? checked->data().toInt() : 0);
}

std::vector<std::string> ResultsWindow::ObjectNames() const {
  std::vector<std::string> names;
  for (int o = 0; o < Results().ObjectCount(); ++o) names.push_back(session_.ObjectName(o));
  return names;
}

void ResultsWindow::UpdateFormulaAxes() {
  formulaPage_->SetAxes(FormulaAxes(Results(), derived_, ObjectNames()));
}

void ResultsWindow::ShowReticle(double x, double y) {
  coordinates_->setText(HintOf(txt::GraphReticleHint) + " " +
                        QString::fromStdString(FormatValue(2, x)) + " ; " +
                        QString::fromStdString(FormatValue(2, y)));
}

void ResultsWindow::UpdateUndoCaption() {
  const GraphWidget* graph = CurrentGraph();
  undo_->setText(graph ? graph->UndoCaption() : QTxt(txt::GraphUndo));
  undo_->setEnabled(graph && graph->Elements().CanUndo());
}

void ResultsWindow::UndoGraphChange() {
  if (GraphWidget* graph = CurrentGraph()) graph->UndoElementChange();
  UpdateUndoCaption();
}

void ResultsWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QTxt(txt::MenuArchivo));
  QMenu* edit = menuBar()->addMenu(QTxt(txt::GraphMenuEdit));
  undo_ = edit->addAction(QTxt(txt::GraphUndo));
  undo_->setShortcut(QKeySequence::Undo);
  connect(undo_, &QAction::triggered, this, &ResultsWindow::UndoGraphChange);
  connect(edit, &QMenu::aboutToShow, this, &ResultsWindow::UpdateUndoCaption);
  edit->addSeparator();
  connect(edit->addAction(QTxt(txt::GraphCopyPicture)), &QAction::triggered, this,
          &ResultsWindow::CopyPicture);
  BuildExportMenus(file, edit);
  connect(file->addAction(QTxt(txt::GraphPrint)), &QAction::triggered, this,
          &ResultsWindow::PrintPage);
  file->addSeparator();
  connect(file->addAction(QTxt(txt::GraphBackToVideo)), &QAction::triggered, this, &QWidget::hide);
  edit->addSeparator();
  connect(edit->addAction(QTxt(txt::GraphRestore)), &QAction::triggered, this,
          &ResultsWindow::RestoreGraph);
  connect(edit->addAction(QTxt(txt::GraphRestoreTable)), &QAction::triggered, this, [this] {
    MarkStale();
    ShowPage(Page::Table);
  });
  display_ = menuBar()->addMenu(QTxt(txt::GraphMenuDisplay));
  connect(display_, &QMenu::aboutToShow, this, &ResultsWindow::FillDisplayMenu);
  FillDisplayMenu();
  QAction* help =
      menuBar()->addMenu(QTxt(txt::MenuAyuda))->addAction(QTxt(txt::MenuAyudaContenido));
  help->setShortcut(QKeySequence::HelpContents);
  connect(help, &QAction::triggered, this, [this] {
    OpenHelpPage(page_ == Page::Formula ? help::kFormulas : help::kResults, showMessage_);
  });
}

// Every export command works on the table as it is now; without a server (a window built
// alone) the commands do nothing.
void ResultsWindow::BuildExportMenus(QMenu* file, QMenu* edit) {
  const auto command = [this](QMenu* menu, TxtId caption, auto run) {
    connect(menu->addAction(QTxt(caption)), &QAction::triggered, this, [this, run] {
      if (export_) run(*export_, TableToExport());
    });
  };
  command(file, txt::ExportMenuExport, [](ExportServer& server, const ExportedTable& table) {
    server.ExportToFile(table.lines, ExportFormat::Text);
  });
  command(file, txt::ExportMenuCsv, [](ExportServer& server, const ExportedTable& table) {
    server.ExportToFile(table.lines, ExportFormat::Csv);
  });
  file->addSeparator();
  command(edit, txt::ExportCopyTable, [](ExportServer& server, const ExportedTable& table) {
    server.CopyToClipboard(table.lines, true);
  });
  QMenu* open = edit->addMenu(QTxt(txt::ExportMenuCopyAndOpen));
  command(open, txt::ExportExcel, [](ExportServer& server, const ExportedTable& table) {
    server.ExportWorkbook(table.matrix, ExportFormat::Xlsx);
  });
  command(open, txt::ExportOpenOffice, [](ExportServer& server, const ExportedTable& table) {
    server.ExportWorkbook(table.matrix, ExportFormat::Ods);
  });
  command(open, txt::ExportRegressi, [this](ExportServer& server, const ExportedTable& table) {
    server.ExportRegressi(table.lines, tables_.Current().ColumnCount() - 1);
  });
}

void ResultsWindow::SetExport(std::unique_ptr<ExportServer> server,
                              std::function<std::string()> title) {
  export_ = std::move(server);
  exportTitle_ = std::move(title);
}

ExportedTable ResultsWindow::TableToExport() {
  Refresh();
  return ExportedTableOf(tables_.Current(), Results(), ObjectNames(), TableOptionsOf(options_),
                         exportTitle_ ? exportTitle_() : std::string(), session_.XAxisAngle());
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
  vectorFrame_ = new QComboBox(choicePanel_);
  vectorKind_ = new QComboBox(choicePanel_);
  vectorKind_->addItems({QTxt(txt::GraphVectorSpeed), QTxt(txt::GraphVectorAcceleration)});
  formulaPage_ = new FormulaPage(stack_, choicePanel_);
  BuildScalePanel();
  row->addWidget(label1_);
  row->addWidget(quantity_);
  row->addWidget(vectorKind_);
  row->addWidget(objects_);
  row->addWidget(formulaPage_->OrdinateButton());
  row->addWidget(label2_);
  row->addWidget(frame_);
  row->addWidget(vectorFrame_);
  row->addWidget(formulaPage_->AbscissaList());
  row->addStretch(1);
  row->addWidget(scalePanel_);
  for (const TimeQuantity& q : TimeQuantities())
    quantity_->addItem(QTxt(q.symbol) + "  " + QTxt(QuantityInfoOf(q.kind)->description));
  connect(quantity_, &QComboBox::activated, this, [this] { RefreshPage(true); });
  connect(frame_, &QComboBox::activated, this, [this] { RefreshPage(true); });
  connect(vectorFrame_, &QComboBox::activated, this, [this] { RefreshPage(true); });
  connect(vectorKind_, &QComboBox::activated, this, [this] { RefreshPage(true); });
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
  bar->addSeparator();
  modifier_ = bar->addAction(QTxt(txt::GraphModifier));
  modifier_->setCheckable(true);
  modifier_->setToolTip(HintOf(txt::GraphModifierHint));
  modifier_->setData(int(GraphWidget::Tool::ModelModifier));
  tools_->addAction(modifier_);
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
    case Page::Vectors:
      return vectorGraphs_[f];
    case Page::Formula:
      return formulaPage_->Graph();
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
  const bool vectors = page == Page::Vectors;
  const bool formula = page == Page::Formula;
  choicePanel_->setVisible(time || trajectory || vectors || formula);
  modelBar_->setVisible(time || formula);
  objects_->setVisible(!formula);
  formulaPage_->OrdinateButton()->setVisible(formula);
  formulaPage_->AbscissaList()->setVisible(formula);
  quantity_->setVisible(time);
  frame_->setVisible(trajectory);
  vectorFrame_->setVisible(vectors);
  vectorKind_->setVisible(vectors);
  scalePanel_->setVisible(vectors);
  constructionBar_->setVisible(trajectory || vectors);
  // A construction tool left on goes off on a page without them.
  if (!(trajectory || vectors) && tools_->checkedAction() &&
      tools_->checkedAction()->parent() == constructionBar_)
    tools_->checkedAction()->setChecked(false);
  label1_->setText(trajectory ? QTxt(txt::GraphTrajectory)
                   : vectors  ? QTxt(txt::GraphVectorOf)
                              : QString());
  label1_->setVisible(trajectory || vectors);
  label2_->setText(time      ? QTxt(txt::GraphAgainstTime)
                   : formula ? QTxt(txt::GraphAgainst)
                             : QTxt(txt::GraphInFrame));
  label2_->setVisible(time || trajectory || vectors || formula);
  choicePanel_->setToolTip(formula              ? QString()
                           : trajectory         ? HintOf(txt::GraphFramesHint)
                           : transparentMode_() ? HintOf(txt::GraphMovingFrameHint)
                                                : HintOf(txt::GraphFixedFrameHint));
  const TxtId captions[] = {txt::ResultsFormulas, txt::ResultsTrayectoria, txt::ResultsTabla,
                            txt::ResultsEvolucion, txt::ResultsVectores};
  setWindowTitle(QTxt(captions[int(page)]));
  FillDisplayMenu();
  ShowToolsOfPage();
  GraphWidget* graph = CurrentGraph();
  stack_->setCurrentWidget(graph ? static_cast<QWidget*>(graph) : table_);
  if (graph) SetGraphTool(tools_->checkedAction() ? tools_->checkedAction()->data().toInt() : 0);
  if (formula && !results_.Current().IsStale()) UpdateFormulaAxes();
  RefreshPage(true);
  UpdateUndoCaption();
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
  // A mark moved changes a few rows: only those are shown again.
  const RowSpan changed = ChangedRows(results, table->results);
  const bool formulasChanged =
      UserColumnsDiffer(results.UserColumns(), table->results.UserColumns());
  derived_ = table->derived;
  results = std::move(table->results);
  tables_.Current() = std::move(table->layout);
  tables_.Current().UpdateSize(results.RowCount());
  if (results.ObjectCount() != objectCount_) FillObjectLists();
  // The formula page's lists copy every column: made only while it is on show.
  if (page_ == Page::Formula) UpdateFormulaAxes();
  tableModel_->Update(ObjectNames(), TableOptionsOf(options_), changed.first, changed.last);
  // The session changed its working frame: the page shows that frame's graph.
  const GraphWidget* graph = CurrentGraph();
  if (graph && stack_->currentWidget() != graph) {
    ShowPage(page_);
    return;
  }
  if (changed.Empty() && !formulasChanged) return;
  // A graph the user zoomed or moved keeps its window; the others follow the data.
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
    case Page::Vectors:
      RefreshVectors(reframe);
      break;
    case Page::Formula:
      RefreshFormulas(reframe);
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
  for (QComboBox* frames : {frame_, vectorFrame_}) {
    frames->clear();
    frames->addItem(QTxt(txt::GraphCameraFrame));
  }
  for (int o = 0; o < objectCount_; ++o) {
    const QString name = QString::fromStdString(session_.ObjectName(o));
    QAction* action = objectMenu_->addAction(name);
    action->setCheckable(true);
    action->setChecked(true);
    connect(action, &QAction::toggled, this, [this] {
      UpdateObjectButton();
      RefreshPage(true);
    });
    for (QComboBox* frames : {frame_, vectorFrame_})
      frames->addItem(QTxt(txt::GraphObjectFrame).replace("%s", name));
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
  if (kind != ModelKind::None && !OneCurveChecked()) {
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
  else
    modifier_->setChecked(false);
  SetGraphTool(tools_->checkedAction() ? tools_->checkedAction()->data().toInt() : 0);
  RefreshPage(false);
  return true;
}

// Without a tool of its own, a graph with a model tells the model's block under the mouse. The
// status line gives the hint of the tool on.
void ResultsWindow::SetGraphTool(int tool) {
  GraphWidget* graph = CurrentGraph();
  if (!graph) return;
  const bool model = HasModelPage() && modelKind_ != ModelKind::None;
  const auto chosen = tool != 0 ? GraphWidget::Tool(tool)
                      : model   ? GraphWidget::Tool::ModelShown
                                : GraphWidget::Tool::None;
  graph->SetTool(chosen);
  const QAction* checked = tools_->checkedAction();
  QString hint = tool != 0 && checked ? checked->toolTip()
                 : model              ? HintOf(txt::GraphModelHint)
                                      : QString();
  // The sinusoids change slowly with Ctrl or Alt held.
  if (chosen == GraphWidget::Tool::ModelModifier && int(modelKind_) >= int(ModelKind::Sinus))
    hint += QTxt(txt::GraphModifierSlowHint);
  coordinates_->setText(hint);
}

QString ResultsWindow::SelectionKey() const {
  QStringList key{QString::number(int(page_))};
  for (int o : CheckedObjects()) key << QString::number(o);
  key << QString::number(page_ == Page::Time         ? quantity_->currentIndex()
                         : page_ == Page::Trajectory ? frame_->currentIndex()
                                                     : vectorKind_->currentIndex());
  if (page_ == Page::Vectors) key << QString::number(vectorFrame_->currentIndex());
  return key.join(',');
}

void ResultsWindow::CopyPicture() {
  if (GraphWidget* graph = CurrentGraph()) {
    QApplication::clipboard()->setImage(graph->Picture(graph->size()));
    return;
  }
  table_->selectAll();
}

}  // namespace kinovia
