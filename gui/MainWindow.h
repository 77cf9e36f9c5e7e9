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

#include "core/Message.h"
#include "gui/Modes.h"
#include "gui/RecentFiles.h"
#include "gui/ValueDialog.h"

class QAction;
class QKeyEvent;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QProgressBar;
class QSlider;
class QTimer;
class QToolBar;

namespace kinovia {

class MessageBox;
class PasswordDialog;
class ValueDialog;
class Session;
class Montage;
class VideoControl;
class Options;
class TrackingMode;
class CaptureMode;
class MontageMode;
class StudioMode;
class VideoView;
class OpeningProgress;
class ResultsWindow;
class RecoveryKeeper;
struct OpenedWork;
struct WorkFileContent;
struct ResultsFacts;
enum class ViewToolKind : std::uint8_t;
struct SessionOptions;
struct ValueContext;

// The tool buttons and their pop-up menu items share these actions.
enum class ToolAction {
  Zoom,
  Pan,
  Scale,
  ScaleHorizontal,
  ScaleVertical,
  Mark,
  Move,
  Erase,
  Origin,
  Sheet,
  Names,
  Count
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // After the window is shown: the start-up information box and the start-up timer, which opens
  // `file` when given, else a sample clip.
  void Start(const QString& file, bool welcome);

  // Every message of the program goes through here.
  int ShowMessage(const Message& message);

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

  WorkingMode Mode() const;
  VideoControl& Video() const { return *video_; }
  // False when the switch is refused; the previous mode then stays.
  bool SetMode(WorkingMode mode);
  VideoView* View() const { return view_; }
  TrackingMode* Tracking() const { return tracking_; }
  CaptureMode* Capture() const { return capture_; }
  MontageMode* MontageCommands() const { return montageMode_; }
  const Montage& MontageState() const { return *montage_; }
  StudioMode* Studio() const { return studio_; }
  Session& CurrentSession() const { return *session_; }
  Options& CurrentOptions() const { return *options_; }
  QAction* ActionOfTool(ToolAction tool) const { return tools_[std::size_t(tool)]; }
  QAction* ModeAction(WorkingMode mode) const;
  QMenu* PopupMenu() const { return popup_; }
  const RecentFiles& RecentFileList() const { return recent_; }
  void SetCloseWithoutAsking(bool value) { closeWithoutAsking_ = value; }
  // Writes the window's picture (for the start-up smoke test) once the first frame is shown.
  void ScreenshotAfterFirstFrame(const QString& path);

 signals:
  void frameShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (MainWindowUi.cpp).
  void BuildMenus();
  void BuildToolBars();
  QWidget* BuildPanel();
  QAction* AddAction(QMenu* menu, TxtId caption, void (MainWindow::*slot)());
  QLineEdit* AddField(QWidget* panel, const char* name, int width);
  void RefreshRecentMenu();
  void UpdateMenus();
  void UpdateToolBars();
  void UpdateFields();

  // Keyboard (MainWindowKeys.cpp); true when the key was used.
  bool KeyPressed(const QKeyEvent& key);
  bool ViewKey(const QKeyEvent& key, std::optional<QPoint> pointer);

  // The session (MainWindowSession.cpp).
  void CreateSession();
  SessionOptions ReadSessionOptions() const;
  void ReadOptions();
  void onSessionChanged();
  void AfterSessionInput(const std::optional<Message>& message);
  void onPicturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void onPictureMoved(QPoint at, Qt::MouseButtons buttons);
  void onPictureReleased(QPoint at, Qt::MouseButton button);
  void AskScaleLength(int segment);
  ValueContext CurrentValueContext() const;
  void RefreshCursor();
  QCursor SessionCursor() const;
  bool SessionKey(const QKeyEvent& key, std::optional<QPoint> pointer);
  void ApplySessionTool(ToolAction tool);
  ResultsFacts CurrentResultsFacts() const;
  bool HasDefaultName() const;

  // Pointing commands of the menus (MainWindowMenus.cpp).
  QAction* AddCommand(QMenu* menu, TxtId caption, std::function<void()> command);
  std::optional<double> AskValue(ValueKind kind, const std::string& initial);
  void BuildPresentationMenu(QMenu* menu);
  void BuildMeasuresMenu(QMenu* menu);
  void UpdatePointingMenus(const MenuState& state);
  void SetMarksPerFrame(int n);
  void onFrameFieldClicked();
  void onAngleFieldClicked();

  // Commands (MainWindowCommands.cpp).
  void onOpenClipTriggered();
  void onSaveTriggered();
  void onQuitTriggered();
  void onMagnifierTriggered();
  void onHelpTriggered();
  static QString HelpSection(WorkingMode mode);
  void onToolTriggered(ToolAction tool);
  void onModeTriggered(WorkingMode mode);
  void onResultsTriggered(int page);
  void onZoomFieldClicked();
  void SetViewTool(ViewToolKind tool);
  void onNamesAndColoursTriggered();
  void StepTo(int frame);
  bool ConfirmFileChange();
  // Opens the clip without asking about the current work.
  bool LoadClip(const QString& path);

  // The work as a work file holds it; empty without a clip.
  WorkFileContent CurrentWork() const;
  // Opens the work's clip and restores the session, montage and frame (MainWindowWork.cpp).
  bool ApplyOpenedWork(OpenedWork result, const std::string& path);

  // The recovery file (MainWindowRecovery.cpp).
  void CreateRecovery();
  void WriteRecovery();
  void DiscardRecovery();
  // Offers the work of a program that did not close normally; true when one was recovered.
  bool OfferRecovery();
  std::unique_ptr<RecoveryKeeper> recovery_;
  bool recoveryWarned_ = false;

  // "Ocultar la imagen" and "Colores" (MainWindowPicture.cpp).
  void BuildPictureItems(QMenu* menu);
  void FillColoursMenu(QMenu* menu);
  void UpdatePictureItems(const MenuState& state);
  struct PictureItems {
    QAction* hide = nullptr;
    QAction* colours = nullptr;
  } pictureItems_;

  // The options dialog and what the other windows read of the options (MainWindowOptions.cpp).
  void onOptionsTriggered();
  void ReadOptionsInOtherWindows();

  // The results window (MainWindowResults.cpp).
 public:
  // Created on first use; nullptr until the results are first asked for.
  ResultsWindow* Results() const { return resultsWindow_; }

 private:
  void OpenResults(int page);
  ResultsWindow* resultsWindow_ = nullptr;

  // The clip (MainWindowClip.cpp).
  void ShowCurrentFrame();
  void CloseClip();
  void TakeScreenshot(const QString& path);
  void CreateVideo();

  // The tracking mode (MainWindowTracking.cpp).
  void CreateTracking();
  void EnterTracking();
  void LeaveTracking();
  void PaintTracking(QPainter& painter) const;
  bool TrackingKey(const QKeyEvent& key, std::optional<QPoint> pointer);
  // The video's pause button: true when it stopped a tracking run.
  bool StopTracking();
  TrackingMode* tracking_ = nullptr;
  QToolBar* trackingBar_ = nullptr;

  // The capture mode (MainWindowCapture.cpp).
  void CreateCapture();
  bool EnterCapture();
  void LeaveCapture();
  CaptureMode* capture_ = nullptr;
  QToolBar* captureBar_ = nullptr;
  // The montage mode (MainWindowMontage.cpp).
  void CreateMontage();
  void EnterMontage();
  // The progress bar of a recording or a conversion: 0 ... 100 shows it, 101 hides it.
  void ShowProgress(int percent);
  // False while a recording runs: the mode cannot be left then.
  bool LeaveMontage();
  // The video's pause button: true when it stopped a recording.
  bool StopRecording();
  bool RecordingMontage() const;
  void OfferTimestampHoles();
  MontageMode* montageMode_ = nullptr;
  QToolBar* montageBar_ = nullptr;

  // The studio mode (MainWindowStudio.cpp).
  void CreateStudio();
  void EnterStudio();
  void LeaveStudio();
  void PaintStudio(QPainter& painter) const;
  StudioMode* studio_ = nullptr;
  QToolBar* studioBar_ = nullptr;

  MessageBox* messages_ = nullptr;
  ValueDialog* value_ = nullptr;
  PasswordDialog* password_ = nullptr;
  VideoView* view_ = nullptr;
  QToolBar* toolsBar_ = nullptr;
  QToolBar* modesBar_ = nullptr;
  QToolBar* resultsBar_ = nullptr;
  std::array<QAction*, std::size_t(ToolAction::Count)> tools_{};
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
  struct PointingItems {
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

  RecentFiles recent_;
  std::unique_ptr<Options> options_;
  std::unique_ptr<Montage> montage_;
  std::unique_ptr<VideoControl> video_;
  std::unique_ptr<Session> session_;
  bool startByZero_ = false;
  bool adviseNaming_ = true;
  bool namingAdviceOn_ = true;  // until the user switches it off for this run
  ModePermissions permissions_;
  bool twoScales_ = false;
  bool confirmQuit_ = true;
  bool confirmFileChange_ = true;
  bool closeWithoutAsking_ = false;
  QString screenshotPath_;

  // Opening a long clip (MainWindowOpening.cpp).
  void WireOpeningProgress();
  bool OpenVideoWithProgress(const std::string& file);
  OpeningProgress* opening_ = nullptr;
};

}  // namespace kinovia
