#pragma once
// The window in which the results of a session are seen: the table of values, one quantity of
// several objects against time, the trajectories in a chosen frame of reference, the vectors, and
// the user's variables against one another, with models laid over the time and formula curves. It
// follows the session while it is open: a mark added, moved or taken back refreshes the page on
// show.
#include <QImage>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/StringTable.h"
#include "logic/export/ExportedTable.h"
#include "logic/formulas/UserFormulas.h"
#include "logic/models/NonlinearFit.h"
#include "logic/results/ResultsComputation.h"
#include "logic/results/ResultsTable.h"
#include "logic/settings/OptionKeys.h"

class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableView;
class QToolBar;
class QToolButton;
class QMenu;

namespace kinovia {

class ExportServer;
class FormulaPage;
class GraphWidget;
class Options;
class ResultsTableModel;
class Session;
struct Message;

class ResultsWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The codes of the pages; the main window's results buttons name them in another order.
  enum class Page { Formula = 0, Trajectory = 1, Table = 2, Time = 3, Vectors = 4 };
  // The main window gives its message box, so that every message goes through one place.
  using ShowMessage = std::function<int(const Message&)>;
  // The picture of the clip on show, drawn behind the vectors; a null picture when there is none.
  using PictureSource = std::function<QImage()>;

  // The display menus keep their choices in `options`.
  ResultsWindow(Session& session, Options& options, std::function<bool()> transparentMode,
                ShowMessage showMessage, QWidget* parent = nullptr);
  ~ResultsWindow() override;

  void SetPictureSource(PictureSource source) { pictureSource_ = std::move(source); }

  void ShowPage(Page page);
  Page CurrentPage() const { return page_; }
  // The results changed: recomputed now when the window is shown, else when it shows again.
  void MarkStale();
  // Recomputes the table when it is stale and refreshes the page on show.
  void Refresh();
  // The options changed: the pages draw as they now say and the hidden tools go.
  void ReadOptions();

  // The graph on show (nullptr on the table page) and the controls tests and kinovia-cli drive.
  GraphWidget* CurrentGraph() const;
  QTableView* Table() const { return table_; }
  QAction* KeyboardAction() const { return keyboardAction_; }
  QComboBox* QuantityList() const { return quantity_; }
  QMenu* ObjectMenu() const { return objectMenu_; }
  QComboBox* FrameList() const { return frame_; }
  QComboBox* VectorList() const { return vectorKind_; }
  // The frame of reference the vectors are seen from.
  QComboBox* VectorFrameList() const { return vectorFrame_; }
  QMenu* DisplayMenu() const { return display_; }
  FormulaPage& Formulas() const { return *formulaPage_; }
  // Shows or hides groups of the table's columns, as the display menu does.
  void ShowColumnGroup(QuantitySet group, bool shown);
  QLineEdit* ScaleField() const { return scaleEdit_; }
  // The up-down control of the vector scale.
  void StepVectorScale(bool up);
  // The video button of the vectors page.
  void ShowVideoPicture(bool shown);
  // Chooses the model of the time page (ModelKind::None: no model); false with the message shown
  // when more than one curve is on the graph.
  bool ChooseModel(ModelKind kind);
  void RestoreGraph();
  // The graph's undo command, as the Edit menu runs it.
  void UndoGraphChange();
  const FrameResults& Results() const;
  // The server of the export commands and the title of the exported table (the clip's name).
  void SetExport(std::unique_ptr<ExportServer> server, std::function<std::string()> title);
  // The table as the export commands send it, recomputed first when it is stale.
  ExportedTable TableToExport();
  // Chooses the time page's quantity by its index in the list, as a click on it does.
  void SelectQuantity(int index);
  // Checks only these objects on the graph pages; an empty list checks them all.
  void CheckObjects(const std::vector<int>& objects);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildToolBar();
  void BuildConstructionBar();
  void UpdateUndoCaption();
  void ShowReticle(double x, double y);
  std::vector<std::string> ObjectNames() const;
  void UpdateFormulaAxes();
  // The data a graph page shows: its construction elements stay while this stays.
  QString SelectionKey() const;
  void BuildMenus();
  void FillDisplayMenu();
  void AddDisplayFlag(QMenu* menu, TxtId caption, BoolOption option, bool reframe);
  void AddDisplayChoice(QMenu* menu, TxtId title, const std::vector<TxtId>& captions, int chosen,
                        std::function<void(int)> choose);
  void AddGraphDisplayItems();
  // The points' size and numbers, and the value box's corner, as the options say.
  void ApplyGraphDisplay(GraphWidget& graph) const;
  Orientation TrajectoryOrientation() const;
  // Hides the tools the options hide and those the page has no use for.
  void ShowToolsOfPage();
  void PrintPage();
  void BuildChoicePanel();
  void BuildModelBar();
  void FillObjectLists();
  std::vector<int> CheckedObjects() const;
  void UpdateObjectButton();
  void RefreshPage(bool reframe);
  void RefreshTable();
  void RefreshTime(bool reframe);
  void RefreshTrajectory(bool reframe);
  void RefreshVectors(bool reframe);
  void RefreshFormulas(bool reframe);
  // On the time page one checked object, on the formula page one checked ordinate.
  bool OneCurveChecked() const;
  bool HasModelPage() const { return page_ == Page::Time || page_ == Page::Formula; }
  void BuildScalePanel();
  void ShowVectorScale();
  void TakeTypedScale();
  void UpdatePicture(GraphWidget& graph);
  void ApplyModel();
  void SetGraphTool(int tool);
  void ToolClicked(QAction* action);
  void CopyPicture();
  void BuildExportMenus(QMenu* file, QMenu* edit);
  std::function<QColor(int)> ColourOfObject() const;
  GraphWidget* GraphOf(Page page) const;

  Session& session_;
  Options& options_;
  std::function<bool()> transparentMode_;
  ShowMessage showMessage_;
  PictureSource pictureSource_;
  ResultsComputation results_;
  ResultsTable tables_;
  UserFormulas formulas_;  // kept between refreshes: only what a change reaches is evaluated
  Page page_ = Page::Table;
  ModelKind modelKind_;
  bool refreshQueued_ = false;
  std::unique_ptr<ExportServer> export_;
  std::function<std::string()> exportTitle_;
  int objectCount_ = -1;
  bool derived_ = false;  // speeds, accelerations and polar quantities could be computed

  QStackedWidget* stack_ = nullptr;
  QTableView* table_ = nullptr;
  ResultsTableModel* tableModel_ = nullptr;
  // Time and trajectory graphs of the fixed frame [0] and of the transparent [1].
  std::array<GraphWidget*, 2> timeGraphs_{};
  std::array<GraphWidget*, 2> trajectoryGraphs_{};
  std::array<GraphWidget*, 2> vectorGraphs_{};
  FormulaPage* formulaPage_ = nullptr;
  QWidget* choicePanel_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* coordinates_ = nullptr;
  QComboBox* quantity_ = nullptr;
  QComboBox* frame_ = nullptr;
  QToolButton* objects_ = nullptr;
  QComboBox* vectorKind_ = nullptr;
  QComboBox* vectorFrame_ = nullptr;
  QWidget* scalePanel_ = nullptr;
  QLineEdit* scaleEdit_ = nullptr;
  QLabel* scaleUnit_ = nullptr;
  QAction* videoButton_ = nullptr;
  QMenu* objectMenu_ = nullptr;
  QWidget* modelBar_ = nullptr;
  QActionGroup* models_ = nullptr;
  QActionGroup* tools_ = nullptr;
  QToolBar* constructionBar_ = nullptr;
  QToolBar* pageBar_ = nullptr;
  QAction* undo_ = nullptr;
  QMenu* display_ = nullptr;
  QAction* modifier_ = nullptr;
  QAction* duplicate_ = nullptr;
  QAction* previousTool_ = nullptr;
  QAction* keyboardAction_ = nullptr;
};

}  // namespace kinovia
