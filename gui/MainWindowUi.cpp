// Building the main window's menus, tool bars and panel, and refreshing them from the state.
#include <cmath>
#include <functional>

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "core/Numbers.h"
#include "gui/Cursors.h"
#include "gui/FormulasDialog.h"
#include "gui/Icons.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/VideoProperties.h"
#include "gui/VideoView.h"
#include "gui/VideoViewMagnifier.h"
#include "gui/montage/MontageMode.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtFormulas.h"
#include "resources/TxtSettings.h"

namespace kinovia {

namespace {

struct ToolButtonDef {
  ToolAction tool;
  TxtId hint;
  CursorShape icon;
  const char* name;
};

constexpr ToolButtonDef kToolButtons[] = {
    {ToolAction::Zoom, txt::HintZoom, CursorShape::Zoom, "ButtonOutilZoom"},
    {ToolAction::Pan, txt::HintPan, CursorShape::Pan, "ButtonOutilPan"},
    {ToolAction::Scale, txt::HintEchelle, CursorShape::Scale, "ButtonOutilEchelle"},
    {ToolAction::ScaleHorizontal, txt::HintEchelleHoriz, CursorShape::Scale,
     "ButtonOutilEchelleHoriz"},
    {ToolAction::ScaleVertical, txt::HintEchelleVert, CursorShape::Scale, "ButtonOutilEchelleVert"},
    {ToolAction::Mark, txt::HintMarque, CursorShape::Mark, "ButtonOutilMarque"},
    {ToolAction::Move, txt::HintDeplacer, CursorShape::Move, "ButtonOutilDeplacer"},
    {ToolAction::Erase, txt::HintEffacer, CursorShape::End, "ButtonOutilEffacer"},
    {ToolAction::Origin, txt::HintOrigine, CursorShape::Axes, "ButtonOutilOrigine"},
    {ToolAction::Sheet, txt::HintTsp, CursorShape::Grab, "ButtonOutilTsp"},
    {ToolAction::Names, txt::HintNom, CursorShape::Arrow, "ButtonOutilNom"},
};

// Mode and results buttons show a picture, their caption as a tool tip, so that every mode's
// tools fit a 1366-pixel screen, even at 200 %.
struct ModeButtonDef {
  WorkingMode mode;
  TxtId hint;
  const char* name;
  const char* icon;
};

constexpr ModeButtonDef kModeButtons[] = {
    {WorkingMode::Capture, txt::HintModeCapture, "ButtonModeCapture", "mode-capture"},
    {WorkingMode::Montage, txt::HintModeMontage, "ButtonModeMontage", "mode-montage"},
    {WorkingMode::FixedAxes, txt::HintModeRepereFixe, "ButtonModeRepereFixe", "mode-fixed"},
    {WorkingMode::Studio, txt::HintModeStudio, "ButtonModeStudio", "mode-studio"},
    {WorkingMode::Tracking, txt::HintModeTracking, "ButtonModeTracking", "mode-tracking"},
    {WorkingMode::Transparent, txt::HintModeTransparent, "ButtonModeTransparent",
     "mode-transparent"},
};

struct ResultsButtonDef {
  TxtId caption;
  const char* icon;
};

constexpr ResultsButtonDef kResultsButtons[] = {{txt::ResultsTabla, "results-table"},
                                                {txt::ResultsEvolucion, "results-time"},
                                                {txt::ResultsTrayectoria, "results-trajectory"},
                                                {txt::ResultsVectores, "results-vectors"},
                                                {txt::ResultsFormulas, "results-formulas"}};

bool ToolShown(const ToolButtons& b, ToolAction tool) {
  switch (tool) {
    case ToolAction::Zoom:
      return b.zoom;
    case ToolAction::Pan:
      return b.pan;
    case ToolAction::Scale:
      return b.scale;
    case ToolAction::ScaleHorizontal:
      return b.scaleHorizontal;
    case ToolAction::ScaleVertical:
      return b.scaleVertical;
    case ToolAction::Mark:
      return b.mark;
    case ToolAction::Move:
      return b.deplacer;
    case ToolAction::Erase:
      return b.effacer;
    case ToolAction::Origin:
      return b.origine;
    case ToolAction::Sheet:
      return b.sheet;
    case ToolAction::Names:
      return b.nom;
    case ToolAction::Count:
      break;
  }
  return false;
}

}  // namespace

void MainWindow::BuildToolBars() {
  modesBar_ = addToolBar(QString());
  modesBar_->setObjectName("ModesBar");
  modeGroup_ = new QActionGroup(this);
  for (std::size_t i = 0; i < std::size(kModeButtons); ++i) {
    const auto& def = kModeButtons[i];
    auto* action = modesBar_->addAction(KinoviaIcon(def.icon), QTxt(def.hint));
    action->setObjectName(def.name);
    action->setToolTip(QTxt(def.hint));
    action->setCheckable(true);
    modeGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode = def.mode] { onModeTriggered(mode); });
    modes_[i] = action;
  }
  toolsBar_ = addToolBar(QString());
  toolsBar_->setObjectName("ToolsBar");
  toolGroup_ = new QActionGroup(this);
  for (const auto& def : kToolButtons) {
    // The arrow cursor says nothing of naming: that button has a picture of its own.
    const QIcon icon = def.tool == ToolAction::Names ? KinoviaIcon("names")
                                                     : QIcon(KinoviaCursor(def.icon).pixmap());
    auto* action = toolsBar_->addAction(icon, QTxt(def.hint));
    action->setObjectName(def.name);
    action->setToolTip(QTxt(def.hint));
    if (def.tool != ToolAction::Names) {
      action->setCheckable(true);
      toolGroup_->addAction(action);
    }
    connect(action, &QAction::triggered, this, [this, tool = def.tool] { onToolTriggered(tool); });
    tools_[std::size_t(def.tool)] = action;
  }
  resultsBar_ = addToolBar(QString());
  resultsBar_->setObjectName("ResultsBar");
  for (int page = 0; page < int(std::size(kResultsButtons)); ++page) {
    const auto& def = kResultsButtons[page];
    resultsBar_
        ->addAction(KinoviaIcon(def.icon), QTxt(def.caption), this,
                    [this, page] { onResultsTriggered(page); })
        ->setToolTip(QTxt(def.caption));
  }
}

QAction* MainWindow::AddAction(QMenu* menu, TxtId caption, void (MainWindow::*slot)()) {
  return menu->addAction(QTxt(caption), this, slot);
}

void MainWindow::BuildMenus() {
  menuArchivo_ = menuBar()->addMenu(QTxt(txt::MenuArchivo));
  AddAction(menuArchivo_, txt::MenuAbrirVideo, &MainWindow::onOpenClipTriggered);
  actionGuardar_ = AddAction(menuArchivo_, txt::MenuGuardar, &MainWindow::onSaveTriggered);
  menuRecientes_ = menuArchivo_->addMenu(QTxt(txt::MenuRecientes));
  actionPropiedades_ = menuArchivo_->addAction(QTxt(txt::MenuPropiedadesVideo), this, [this] {
    if (ClipOpen()) ShowMessage(VideoPropertiesMessage(*video_));
  });
  menuArchivo_->addSeparator();
  AddAction(menuArchivo_, txt::MenuSalir, &MainWindow::onQuitTriggered);

  menuPresentacion_ = menuBar()->addMenu(QTxt(txt::MenuPresentacion));
  BuildPresentationMenu(menuPresentacion_);
  BuildPictureItems(menuPresentacion_);
  actionLupa_ = AddAction(menuPresentacion_, txt::MenuLupa, &MainWindow::onMagnifierTriggered);
  actionLupa_->setCheckable(true);

  menuMedidas_ = menuBar()->addMenu(QTxt(txt::MenuMedidas));
  BuildMeasuresMenu(menuMedidas_);
  menuMedidas_->addSeparator();
  menuMedidas_->addAction(QTxt(txt::FormulasCaption), this,
                          [this] { EditSessionFormulas(*session_, *options_, this); });

  auto* options = menuBar()->addMenu(QTxt(txt::OptionsTitle));
  options->setObjectName("MenuOpciones");
  AddAction(options, txt::MenuOpciones, &MainWindow::onOptionsTriggered)
      ->setObjectName("ActionOpciones");

  auto* help = menuBar()->addMenu(QTxt(txt::MenuAyuda));
  auto* helpContents = AddAction(help, txt::MenuAyudaContenido, &MainWindow::onHelpTriggered);
  helpContents->setShortcut(QKeySequence::HelpContents);

  // Enabling rules depend on the moment: they are evaluated each time a menu opens.
  for (QMenu* menu : {menuArchivo_, menuPresentacion_, menuMedidas_})
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateMenus);
  connect(menuRecientes_, &QMenu::aboutToShow, this, &MainWindow::RefreshRecentMenu);

  popup_ = new QMenu(this);
  for (QAction* action : tools_) popup_->addAction(action);
}

void MainWindow::RefreshRecentMenu() {
  menuRecientes_->clear();
  for (const auto& file : recent_.Files()) {
    const QString path = QString::fromStdString(file);
    menuRecientes_->addAction(QFileInfo(path).fileName(), this, [this, path] { OpenFile(path); })
        ->setToolTip(path);
  }
  menuRecientes_->setEnabled(!recent_.Files().empty());
}

QLineEdit* MainWindow::AddField(QWidget* panel, const char* name, int width) {
  auto* field = new QLineEdit(panel);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setFixedWidth(width);
  field->setFocusPolicy(Qt::NoFocus);
  field->setStyleSheet("QLineEdit { background: black; color: yellow; }");
  field->installEventFilter(this);
  panel->layout()->addWidget(field);
  return field;
}

QWidget* MainWindow::BuildPanel() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 2, 4, 2);
  const struct {
    QStyle::StandardPixmap icon;
    TxtId hint;
    const char* name;
    std::function<void()> click;
  } buttons[] = {
      {QStyle::SP_MediaSkipBackward, txt::HintRetour, "ButtonVideoRetour", [this] { StepTo(0); }},
      {QStyle::SP_MediaSeekBackward, txt::HintPred, "ButtonVideoPred",
       [this] { StepTo(video_->CurrentMontageIndex() - 1); }},
      {QStyle::SP_MediaSeekForward, txt::HintSucc, "ButtonVideoSucc",
       [this] { StepTo(video_->CurrentMontageIndex() + 1); }},
      {QStyle::SP_MediaSkipForward, txt::HintAvance, "ButtonVideoAvance",
       [this] { StepTo(video_->FrameCount() - 1); }},
      {QStyle::SP_MediaPlay, txt::HintLecture, "ButtonVideoLecture",
       [this] {
         // A recording moves through the clip itself; playback would move it meanwhile.
         if (!RecordingMontage()) video_->PlayToEnd();
       }},
      {QStyle::SP_MediaPause, txt::HintPause, "ButtonVideoPause",
       [this] {
         if (!StopTracking() && !StopRecording()) video_->Stop();
       }},
  };
  for (const auto& def : buttons) {
    auto* button = new QToolButton(panel);
    button->setObjectName(def.name);
    button->setIcon(style()->standardIcon(def.icon));
    button->setToolTip(QTxt(def.hint));
    connect(button, &QToolButton::clicked, this, def.click);
    row->addWidget(button);
  }
  trackBar_ = new QSlider(Qt::Horizontal, panel);
  trackBar_->setObjectName("TrackBar");
  connect(trackBar_, &QSlider::valueChanged, this, &MainWindow::StepTo);
  row->addWidget(trackBar_, 1);
  frameField_ = AddField(panel, "EditImage", 130);
  marksField_ = AddField(panel, "EditMarks", 50);
  zoomField_ = AddField(panel, "EditZoom", 60);
  angleField_ = AddField(panel, "EditAngle", 70);
  return panel;
}

void MainWindow::UpdateToolBars() {
  const auto buttons = ToolButtonsFor(Mode(), twoScales_);
  for (const auto& def : kToolButtons) {
    QAction* action = ActionOfTool(def.tool);
    action->setVisible(ToolShown(buttons, def.tool));
    action->setEnabled(ClipOpen());
  }
  for (const auto& def : kModeButtons) {
    QAction* action = ModeAction(def.mode);
    action->setVisible(ModeOffered(def.mode, permissions_));
    action->setChecked(def.mode == Mode());
  }
  const bool results = ClipOpen() && IsPointingMode(Mode());
  for (QAction* action : resultsBar_->actions()) action->setEnabled(results);
}

void MainWindow::UpdateMenus() {
  const auto state = MenuStateFor({Mode(), ClipOpen(), session_->OriginPlaced(), twoScales_});
  UpdatePointingMenus(state);
  UpdatePictureItems(state);
  actionGuardar_->setVisible(state.guardarVisible);
  actionPropiedades_->setVisible(state.propertiesVisible);
  actionPropiedades_->setEnabled(state.propertiesEnabled);
  menuPresentacion_->setEnabled(state.presentationEnabled);
  menuMedidas_->setEnabled(state.measuresEnabled);
  actionLupa_->setVisible(state.magnifier);
  actionLupa_->setChecked(view_->Loupe()->isVisible());
  RefreshRecentMenu();
}

void MainWindow::UpdateFields() {
  const bool open = ClipOpen();
  const int count = video_->FrameCount();
  const int index = open ? video_->CurrentMontageIndex() : 0;
  trackBar_->blockSignals(true);
  trackBar_->setMaximum(std::max(count - 1, 0));
  trackBar_->setValue(index);
  trackBar_->blockSignals(false);
  QString frame = open ? QString(" %1/%2").arg(index + 1).arg(count) : QString();
  // In the montage mode the field also tells how far the frame's time was moved.
  if (open && montageMode_ && Mode() == WorkingMode::Montage) {
    const std::string shift = montageMode_->ShiftText();
    if (!shift.empty()) frame += QString("  (%1)").arg(QString::fromStdString(shift));
    montageMode_->EnableCommands();
  }
  frameField_->setText(frame);
  zoomField_->setText(QString(" %1 %").arg(view_->Mapping().Zoom()));
  const bool pointing = IsPointingMode(Mode());
  marksField_->setText(open ? QString(" %1").arg(session_->MarksCount()) : QString());
  angleField_->setText(
      open && session_->OriginPlaced()
          ? QString::fromStdString(" " + FormatValue(0, session_->XAxisAngle() * 180.0 / M_PI)) +
                QChar(0x00B0)
          : QString());
  marksField_->setVisible(pointing);
  angleField_->setVisible(Mode() == WorkingMode::FixedAxes);
}

}  // namespace kinovia
