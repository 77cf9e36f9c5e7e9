#include "gui/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/IniFile.h"
#include "core/TempFolder.h"
#include "gui/Confirmations.h"
#include "gui/MessageBox.h"
#include "gui/PasswordDialog.h"
#include "gui/QtText.h"
#include "gui/ValueDialog.h"
#include "gui/VideoView.h"
#include "gui/VideoViewMagnifier.h"
#include "gui/montage/MontageMode.h"
#include "gui/results/ResultsWindow.h"
#include "logic/montage/Montage.h"
#include "logic/session/Recovery.h"
#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsFile.h"
#include "logic/settings/OptionsViews.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

namespace {
constexpr int kMinWidth = 632;
constexpr int kMinHeight = 452;
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QTxt(txt::AppTitle));
  messages_ = new MessageBox(this);
  setMinimumSize(kMinWidth, kMinHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(screen->availableGeometry());
  progress_ = new QProgressBar(this);
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);

  // A missing temporary folder leaves TemporaryFolder() on /tmp; only a folder we cannot
  // write to is worth the warning.
  if (!QFileInfo(QString::fromStdString(TemporaryFolder())).isWritable()) {
    Message m;
    m.icon = MessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::TempFolderFailed).Line(txt::SomeToolsWontWork);
    ShowMessage(m);
  }
  recent_.Load(ReadOptionsFile(OptionsFilePath()));

  value_ = new ValueDialog(*messages_, this);
  password_ = new PasswordDialog(this);
  options_ = std::make_unique<Options>();
  options_->SetPasswordDialog(password_);
  options_->onChange = [this](const Options&) { ReadOptions(); };
  view_ = new VideoView(this);
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(view_, 1);
  column->addWidget(BuildPanel());
  setCentralWidget(central);
  CreateVideo();
  BuildToolBars();
  BuildMenus();
  CreateSession();
  CreateRecovery();
  CreateTracking();
  CreateCapture();
  CreateMontage();
  CreateStudio();
  ReadOptions();
  connect(view_, &VideoView::zoomChanged, this, &MainWindow::UpdateFields);
  setAcceptDrops(true);
  qApp->installEventFilter(this);
  UpdateToolBars();
  UpdateFields();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // The results window reads the session and the working mode until it is gone.
  delete resultsWindow_;
  // The session refers to the video control: it goes first.
  session_.reset();
  video_.reset();
}

WorkingMode MainWindow::Mode() const { return video_->WorkMode(); }

int MainWindow::ShowMessage(const Message& message) { return messages_->Show(message); }

QAction* MainWindow::ModeAction(WorkingMode mode) const {
  const int i = int(mode) - 1;
  return i >= 0 && i < int(modes_.size()) ? modes_[std::size_t(i)] : nullptr;
}

// The options change: every part reads them again, tool bars follow and the picture is redrawn.
void MainWindow::ReadOptions() {
  const Options& o = *options_;
  permissions_ = {o.Flag(BoolOption::AllowMontage), o.Flag(BoolOption::AllowTracking),
                  o.Flag(BoolOption::AllowCapture), o.Flag(BoolOption::AllowStudio)};
  twoScales_ = o.Flag(BoolOption::HorizAndVertScale);
  confirmQuit_ = o.Flag(BoolOption::ConfirmationQuit);
  confirmFileChange_ = o.Flag(BoolOption::ConfirmationFileChange);
  startByZero_ = o.Flag(BoolOption::StartByZero);
  adviseNaming_ = o.Flag(BoolOption::ChangeDefaultObjectsName);
  recent_.SetLimit(o.Value(IntOption::EditMru));
  if (session_) session_->OptionsChanged(ReadSessionOptions());
  UpdateToolBars();
  ReadOptionsInOtherWindows();
  if (view_) view_->Canvas()->update();
}

SessionOptions MainWindow::ReadSessionOptions() const { return SessionOptionsOf(*options_); }

bool MainWindow::OpenFile(const QString& path) {
  if (path.endsWith(".knv", Qt::CaseInsensitive)) return OpenWork(path);
  return OpenClip(path);
}

bool MainWindow::SetMode(WorkingMode mode) {
  if (mode == Mode()) return true;
  if (!ModeOffered(mode, permissions_)) return false;
  if (mode == WorkingMode::Montage && (!ClipOpen() || video_->FrameCount() < 2)) {
    UpdateToolBars();
    return false;
  }
  if (Mode() == WorkingMode::Montage && !LeaveMontage()) {
    UpdateToolBars();
    return false;
  }
  if (mode == WorkingMode::Capture && !EnterCapture()) {
    UpdateToolBars();
    return false;
  }
  if (Mode() == WorkingMode::Tracking) LeaveTracking();
  if (Mode() == WorkingMode::Capture) LeaveCapture();
  if (Mode() == WorkingMode::Studio) LeaveStudio();
  video_->SetWorkMode(mode);
  if (mode == WorkingMode::Tracking) EnterTracking();
  if (mode == WorkingMode::Montage) EnterMontage();
  if (mode == WorkingMode::Studio) EnterStudio();
  if (mode == WorkingMode::FixedAxes)
    session_->SetTool(ClipOpen() ? PointingTool::Mark : PointingTool::None);
  if (mode == WorkingMode::Transparent) session_->SetTool(PointingTool::Transparent);
  view_->setVisible(mode != WorkingMode::Capture);
  if (!IsPointingMode(mode)) view_->Loupe()->hide();
  SetViewTool(ViewToolKind::None);
  view_->ResetZoom();
  UpdateToolBars();
  UpdateFields();
  RefreshCursor();
  return true;
}

void MainWindow::ScreenshotAfterFirstFrame(const QString& path) { screenshotPath_ = path; }

void MainWindow::closeEvent(QCloseEvent* event) {
  // The recording's loop runs inside this window's events: it must end first.
  if (RecordingMontage()) {
    StopRecording();
    event->ignore();
    return;
  }
  if (confirmQuit_ && !closeWithoutAsking_) {
    const Message question = QuitMessage(ClipOpen());
    const LeaveChoice choice = LeaveChoiceOf(question, ShowMessage(question));
    if (choice == LeaveChoice::Cancel || (choice == LeaveChoice::Save && !SaveWork())) {
      event->ignore();
      return;
    }
  }
  // A running capture is stopped and its file offered before the window goes.
  if (Mode() == WorkingMode::Capture) LeaveCapture();
  UpdateOptionsFile(OptionsFilePath(), [this](IniFile& ini) { recent_.Save(ini); });
  // Saved or left on purpose: a normal close leaves nothing to recover.
  DiscardRecovery();
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const auto urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  // Opening may ask questions; answer the drop first so the source application is not held.
  const QString path = urls.first().toLocalFile();
  QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

}  // namespace kinovia
