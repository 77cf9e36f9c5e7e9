#include "app/UnitMainForm.h"

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

#include "app/UnitBoiteValeur.h"
#include "app/UnitConfirmations.h"
#include "app/UnitMessageBox.h"
#include "app/UnitQtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "settings/UnitIniFile.h"
#include "settings/UnitTempFolder.h"
#include "video/UnitFrameSource.h"
#include "video/UnitVideoView.h"
#include "video/UnitVideoViewLoupe.h"

namespace kinovia {

namespace {
constexpr int kMinWidth = 632;
constexpr int kMinHeight = 452;

QString OptionsFile() { return QString::fromStdString(TemporaryFolder()) + "Kinovia.ini"; }
}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QTxt(txt::AppTitle));
  messages_ = new TBoiteMessage(this);
  setMinimumSize(kMinWidth, kMinHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(screen->availableGeometry());
  progress_ = new QProgressBar(this);
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);

  TIniFile ini;
  ini.Load(OptionsFile().toStdString());
  recent_.Load(ini);

  valeur_ = new TBoiteValeur(*messages_, this);
  view_ = new TVideoView(this);
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(view_, 1);
  column->addWidget(BuildPanel());
  setCentralWidget(central);
  BuildToolBars();
  BuildMenus();
  connect(view_, &TVideoView::ZoomChanged, this, &TMainForm::UpdateFields);
  setAcceptDrops(true);
  qApp->installEventFilter(this);
  UpdateToolBars();
  UpdateFields();
}

TMainForm::~TMainForm() { qApp->removeEventFilter(this); }

int TMainForm::ShowMessage(const TMessage& message) { return messages_->Show(message); }

QAction* TMainForm::ModeAction(TWorkMode mode) const {
  const int i = int(mode) - 1;
  return i >= 0 && i < int(modes_.size()) ? modes_[std::size_t(i)] : nullptr;
}

void TMainForm::SetPermissions(const TModePermissions& permissions, bool twoScales) {
  permissions_ = permissions;
  twoScales_ = twoScales;
  UpdateToolBars();
}

void TMainForm::SetConfirmations(bool quit, bool fileChange) {
  confirmQuit_ = quit;
  confirmFileChange_ = fileChange;
}

bool TMainForm::OpenFile(const QString& path) {
  // Work files come with the session's work-file reader; every other file is tried as a clip.
  return OpenClip(path);
}

bool TMainForm::SetMode(TWorkMode mode) {
  if (mode == mode_) return true;
  if (!ModeOffered(mode, permissions_)) return false;
  if (mode == TWorkMode::Montage && (!ClipOpen() || clip_->FrameCount() < 2)) {
    UpdateToolBars();
    return false;
  }
  mode_ = mode;
  view_->setVisible(mode != TWorkMode::Capture);
  if (!IsPointingMode(mode)) view_->Loupe()->hide();
  view_->SetTool(TViewTool::None);
  view_->ResetZoom();
  UpdateToolBars();
  UpdateFields();
  return true;
}

void TMainForm::ScreenshotAfterFirstFrame(const QString& path) { screenshotPath_ = path; }

void TMainForm::closeEvent(QCloseEvent* event) {
  if (confirmQuit_ && !closeWithoutAsking_) {
    const TMessage question = QuitMessage(ClipOpen());
    const TLeaveChoice choice = LeaveChoice(question, ShowMessage(question));
    if (choice == TLeaveChoice::Cancel || (choice == TLeaveChoice::Save && !SaveWork())) {
      event->ignore();
      return;
    }
  }
  TIniFile ini;
  const std::string file = OptionsFile().toStdString();
  ini.Load(file);
  recent_.Save(ini);
  ini.Save(file);
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const auto urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  // Opening may ask questions; answer the drop first so the source application is not held.
  const QString path = urls.first().toLocalFile();
  QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

}  // namespace kinovia
