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

#include "app/UnitBoitePassword.h"
#include "app/UnitBoiteValeur.h"
#include "app/UnitConfirmations.h"
#include "app/UnitMessageBox.h"
#include "app/UnitQtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "session/UnitData.h"
#include "settings/UnitIniFile.h"
#include "settings/UnitOptions.h"
#include "settings/UnitOptionsFile.h"
#include "settings/UnitOptionsViews.h"
#include "settings/UnitTempFolder.h"
#include "video/UnitVideo.h"
#include "video/UnitVideoView.h"
#include "video/UnitVideoViewLoupe.h"
#include "workshop/UnitMontage.h"

namespace kinovia {

namespace {
constexpr int kMinWidth = 632;
constexpr int kMinHeight = 452;
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

  // A missing temporary folder leaves TemporaryFolder() on /tmp; only a folder we cannot
  // write to is worth the warning.
  if (!QFileInfo(QString::fromStdString(TemporaryFolder())).isWritable()) {
    TMessage m;
    m.icon = TMessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::TempFolderFailed).Line(txt::SomeToolsWontWork);
    ShowMessage(m);
  }
  recent_.Load(ReadOptionsFile(OptionsFilePath()));

  valeur_ = new TBoiteValeur(*messages_, this);
  password_ = new TBoitePassword(this);
  options_ = std::make_unique<TOptions>();
  options_->SetPasswordDialog(password_);
  options_->onChange = [this](const TOptions&) { ReadOptions(); };
  view_ = new TVideoView(this);
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
  ReadOptions();
  connect(view_, &TVideoView::ZoomChanged, this, &TMainForm::UpdateFields);
  setAcceptDrops(true);
  qApp->installEventFilter(this);
  UpdateToolBars();
  UpdateFields();
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  // The session refers to the video control: it goes first.
  data_.reset();
  video_.reset();
}

TWorkMode TMainForm::Mode() const { return video_->WorkMode(); }

int TMainForm::ShowMessage(const TMessage& message) { return messages_->Show(message); }

QAction* TMainForm::ModeAction(TWorkMode mode) const {
  const int i = int(mode) - 1;
  return i >= 0 && i < int(modes_.size()) ? modes_[std::size_t(i)] : nullptr;
}

// The options change: every part reads them again, tool bars follow and the picture is redrawn.
void TMainForm::ReadOptions() {
  const TOptions& o = *options_;
  permissions_ = {o.Flag(TPref::AllowMontage), o.Flag(TPref::AllowTracking),
                  o.Flag(TPref::AllowCapture), o.Flag(TPref::AllowStudio)};
  twoScales_ = o.Flag(TPref::HorizAndVertScale);
  confirmQuit_ = o.Flag(TPref::ConfirmationQuit);
  confirmFileChange_ = o.Flag(TPref::ConfirmationFileChange);
  startByZero_ = o.Flag(TPref::StartByZero);
  adviseNaming_ = o.Flag(TPref::ChangeDefaultObjectsName);
  recent_.SetLimit(o.Value(TIntPref::EditMru));
  if (data_) data_->OptionsChanged(SessionOptions());
  UpdateToolBars();
  if (view_) view_->Canvas()->update();
}

TSessionOptions TMainForm::SessionOptions() const { return SessionOptionsOf(*options_); }

bool TMainForm::OpenFile(const QString& path) {
  if (path.endsWith(".knv", Qt::CaseInsensitive)) return OpenWork(path);
  return OpenClip(path);
}

bool TMainForm::SetMode(TWorkMode mode) {
  if (mode == Mode()) return true;
  if (!ModeOffered(mode, permissions_)) return false;
  if (mode == TWorkMode::Montage && (!ClipOpen() || video_->FrameCount() < 2)) {
    UpdateToolBars();
    return false;
  }
  video_->SetWorkMode(mode);
  if (mode == TWorkMode::RepereFixe) data_->SetTool(ClipOpen() ? TTool::Mark : TTool::None);
  if (mode == TWorkMode::Transparent) data_->SetTool(TTool::Transparent);
  view_->setVisible(mode != TWorkMode::Capture);
  if (!IsPointingMode(mode)) view_->Loupe()->hide();
  SetViewTool(TViewTool::None);
  view_->ResetZoom();
  UpdateToolBars();
  UpdateFields();
  RefreshCursor();
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
  UpdateOptionsFile(OptionsFilePath(), [this](TIniFile& ini) { recent_.Save(ini); });
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
