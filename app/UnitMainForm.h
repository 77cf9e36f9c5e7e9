#pragma once
// The main window: it creates the central objects, wires their notifications, shows the picture
// with its tool bars and switches between the working modes. Features live in their own units;
// this class only wires and dispatches.
#include <QCursor>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/UnitBoiteValeur.h"
#include "app/UnitModes.h"
#include "app/UnitRecentFiles.h"
#include "resources/UnitMessage.h"

class QAction;
class QKeyEvent;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSlider;
class QTimer;
class QToolBar;

namespace kinovia {

class TBoiteMessage;
class TBoitePassword;
class TBoiteValeur;
class TData;
class TMontage;
class TVideo;
class TOptions;
class TVideoView;
struct TResultsFacts;
enum class TViewTool : std::uint8_t;
struct TSessionOptions;
struct TValeurContext;

// The tool buttons and their pop-up menu items share these actions.
enum class TToolAction {
  Zoom,
  Pan,
  Echelle,
  EchelleHoriz,
  EchelleVert,
  Marque,
  Deplacer,
  Effacer,
  Origine,
  Tsp,
  Nom,
  Count
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // After the window is shown: the start-up information box and the start-up timer, which opens
  // `file` when given, else a sample clip.
  void Start(const QString& file, bool welcome);

  // Every message of the program goes through here.
  int ShowMessage(const TMessage& message);
  TBoiteMessage& MessageBox() { return *messages_; }

  // Opens a clip or a work file by its extension, as the menu, the recent files, the command
  // line and a drop on the window do. False when nothing was opened.
  bool OpenFile(const QString& path);
  bool OpenClip(const QString& path);
  bool OpenWork(const QString& path);
  // The "Guardar" command; false when nothing was saved.
  bool SaveWork();
  bool ClipOpen() const;
  // The start-up timer's work: the sample clips written and one of them opened.
  void OpenSampleClip(int secondOfMinute);

  TWorkMode Mode() const;
  TVideo& Video() const { return *video_; }
  // False when the switch is refused; the previous mode then stays.
  bool SetMode(TWorkMode mode);
  TVideoView* View() const { return view_; }
  TData& Session() const { return *data_; }
  TOptions& Options() const { return *options_; }
  QAction* ToolAction(TToolAction tool) const { return tools_[std::size_t(tool)]; }
  QAction* ModeAction(TWorkMode mode) const;
  QMenu* PopupMenu() const { return popup_; }
  const TRecentFiles& RecentFiles() const { return recent_; }
  void SetCloseWithoutAsking(bool value) { closeWithoutAsking_ = value; }
  // Writes the window's picture (for the start-up smoke test) once the first frame is shown.
  void ScreenshotAfterFirstFrame(const QString& path);

 signals:
  void FrameShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (UnitMainFormUi.cpp).
  void BuildMenus();
  void BuildToolBars();
  QWidget* BuildPanel();
  QAction* AddAction(QMenu* menu, TxtId caption, void (TMainForm::*slot)());
  QLineEdit* AddField(QWidget* panel, const char* name, int width);
  void RefreshRecentMenu();
  void UpdateMenus();
  void UpdateToolBars();
  void UpdateFields();

  // Keyboard (UnitMainFormKeys.cpp); true when the key was used.
  bool KeyPressed(const QKeyEvent& key);
  bool ViewKey(const QKeyEvent& key, std::optional<QPoint> pointer);

  // The session (UnitMainFormSession.cpp).
  void CreateSession();
  TSessionOptions SessionOptions() const;
  void ReadOptions();
  void SessionChanged();
  void AfterSessionInput(const std::optional<TMessage>& message);
  void PicturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void PictureMoved(QPoint at, Qt::MouseButtons buttons);
  void PictureReleased(QPoint at, Qt::MouseButton button);
  void AskScaleLength(int segment);
  TValeurContext ValeurContext() const;
  void RefreshCursor();
  QCursor SessionCursor() const;
  bool SessionKey(const QKeyEvent& key, std::optional<QPoint> pointer);
  void ApplySessionTool(TToolAction tool);
  TResultsFacts ResultsFacts() const;
  bool HasDefaultName() const;

  // Pointing commands of the menus (UnitMainFormMenus.cpp).
  QAction* AddCommand(QMenu* menu, TxtId caption, std::function<void()> command);
  std::optional<double> AskValue(TSorteValeur kind, const std::string& initial);
  void BuildPresentationMenu(QMenu* menu);
  void BuildMeasuresMenu(QMenu* menu);
  void UpdatePointingMenus(const TMenuState& state);
  void SetMarksPerFrame(int n);
  void FrameFieldClick();
  void AngleFieldClick();

  // Commands (UnitMainFormCommands.cpp).
  void MenuAbrirVideoClick();
  void MenuGuardarClick();
  void MenuSalirClick();
  void MenuLupaClick();
  void MenuAyudaClick();
  void ToolClick(TToolAction tool);
  void ModeClick(TWorkMode mode);
  void ResultsClick(int page);
  void ZoomFieldClick();
  void SetViewTool(TViewTool tool);
  void NameAndColourClick();
  void StepTo(int frame);
  bool ConfirmFileChange();
  // Opens the clip without asking about the current work.
  bool LoadClip(const QString& path);

  // The clip (UnitMainFormClip.cpp).
  void ShowCurrentFrame();
  void CloseClip();
  void TakeScreenshot(const QString& path);
  void CreateVideo();

  TBoiteMessage* messages_ = nullptr;
  TBoiteValeur* valeur_ = nullptr;
  TBoitePassword* password_ = nullptr;
  TVideoView* view_ = nullptr;
  QToolBar* toolsBar_ = nullptr;
  QToolBar* modesBar_ = nullptr;
  QToolBar* resultsBar_ = nullptr;
  std::array<QAction*, std::size_t(TToolAction::Count)> tools_{};
  QActionGroup* toolGroup_ = nullptr;
  QActionGroup* modeGroup_ = nullptr;
  std::array<QAction*, 6> modes_{};
  QMenu* menuArchivo_ = nullptr;
  QMenu* menuRecientes_ = nullptr;
  QMenu* menuPresentacion_ = nullptr;
  QMenu* menuMedidas_ = nullptr;
  QMenu* popup_ = nullptr;
  QAction* actionGuardar_ = nullptr;
  QAction* actionPropiedades_ = nullptr;
  QAction* actionLupa_ = nullptr;
  struct TPointingItems {
    QAction* undo = nullptr;
    std::vector<QAction*> draw;
    QAction* objectMarks = nullptr;
    QAction* perFrame = nullptr;
    QAction* advance = nullptr;
    QAction* scaleLength = nullptr;
    QAction* scaleLengthH = nullptr;
    QAction* scaleLengthV = nullptr;
    QAction* angle = nullptr;
    QAction* invertX = nullptr;
    QAction* invertY = nullptr;
    QAction* interval = nullptr;
    QAction* erase = nullptr;
  } pointingItems_;
  QSlider* trackBar_ = nullptr;
  QLineEdit* frameField_ = nullptr;
  QLineEdit* marksField_ = nullptr;
  QLineEdit* zoomField_ = nullptr;
  QLineEdit* angleField_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTimer* startTimer_ = nullptr;

  TRecentFiles recent_;
  std::unique_ptr<TOptions> options_;
  std::unique_ptr<TMontage> montage_;
  std::unique_ptr<TVideo> video_;
  std::unique_ptr<TData> data_;
  bool startByZero_ = false;
  bool adviseNaming_ = true;
  bool namingAdviceOn_ = true;  // until the user switches it off for this run
  TModePermissions permissions_;
  bool twoScales_ = false;
  bool confirmQuit_ = true;
  bool confirmFileChange_ = true;
  bool closeWithoutAsking_ = false;
  QString screenshotPath_;
};

}  // namespace kinovia
