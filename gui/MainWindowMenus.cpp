// The pointing commands of the Presentación and Medidas menus.
#include <QAction>
#include <QMenu>
#include <cmath>
#include <numbers>

#include "core/Numbers.h"
#include "gui/IntervalDialog.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/ValueDialog.h"
#include "gui/VideoView.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

QAction* MainWindow::AddCommand(QMenu* menu, TxtId caption, std::function<void()> command) {
  return menu->addAction(QTxt(caption), this, [this, command = std::move(command)] {
    if (!ClipOpen()) return;  // every pointing command needs a clip
    command();
    onSessionChanged();
  });
}

std::optional<double> MainWindow::AskValue(ValueKind kind, const std::string& initial) {
  return value_->Ask(MakeValueField(kind, CurrentValueContext()), initial);
}

void MainWindow::BuildPresentationMenu(QMenu* menu) {
  auto& items = pointingItems_;
  items.undo = AddCommand(menu, txt::ButtonCancelar, [this] { session_->Undo(); });
  QMenu* goTo = menu->addMenu(QTxt(txt::MenuIrA));
  AddCommand(goTo, txt::MenuIrUltimaPunteada, [this] { StepTo(session_->LastPointedFrame()); });
  AddCommand(goTo, txt::MenuIrImagenN, [this] { onFrameFieldClicked(); });
  QMenu* draw = menu->addMenu(QTxt(txt::MenuDibujar));
  AddCommand(draw, txt::MenuDibujarUltima, [this] {
    session_->SetAllDrawn(false);
    session_->SetMarksToDraw(1);
  });
  AddCommand(draw, txt::MenuDibujarTodas, [this] { session_->SetAllDrawn(true); });
  AddCommand(draw, txt::MenuOtros, [this] {
    if (const auto n = AskValue(ValueKind::MarksDrawn, std::to_string(session_->MarksToDraw()))) {
      session_->SetAllDrawn(false);
      session_->SetMarksToDraw(int(*n));
    }
  });
  items.objectMarks =
      AddCommand(menu, txt::MenuMarcasObjeto, [this] { onToolTriggered(ToolAction::Names); });
  QMenu* numbering = menu->addMenu(QTxt(txt::MenuNumeracion));
  int position = 0;
  for (TxtId caption : {txt::MenuNumDebajo, txt::MenuNumDerecha, txt::MenuNumNinguna})
    AddCommand(numbering, caption,
               [this, p = position++] { session_->SetNumberPosition(std::uint8_t(p)); });
  QMenu* size = menu->addMenu(QTxt(txt::MenuTamano));
  int elementSize = 0;
  for (TxtId caption : {txt::MenuPequeno, txt::MenuMediano, txt::MenuGrande})
    AddCommand(size, caption,
               [this, s = elementSize++] { session_->SetElementSize(std::uint8_t(s)); });
  items.draw = {goTo->menuAction(), draw->menuAction(), numbering->menuAction(),
                size->menuAction()};
}

void MainWindow::BuildMeasuresMenu(QMenu* menu) {
  auto& items = pointingItems_;
  QMenu* perFrame = menu->addMenu(QTxt(txt::MenuMarcasPorImagen));
  int count = 1;
  for (TxtId caption : {txt::MenuUna, txt::MenuDos, txt::MenuTres})
    AddCommand(perFrame, caption, [this, n = count++] { SetMarksPerFrame(n); });
  AddCommand(perFrame, txt::MenuOtros, [this] {
    if (const auto n =
            AskValue(ValueKind::MarksPerFrame, std::to_string(session_->MarksPerFrame())))
      SetMarksPerFrame(int(*n));
  });
  QMenu* advance = menu->addMenu(QTxt(txt::MenuAvanzar));
  AddCommand(advance, txt::MenuUnaImagen, [this] { session_->SetFramesBetweenMarks(1); });
  AddCommand(advance, txt::MenuOtros, [this] {
    const auto n =
        AskValue(ValueKind::FramesBetweenMarks, std::to_string(session_->FramesBetweenMarks()));
    if (n) session_->SetFramesBetweenMarks(int(*n));
  });
  items.scaleLength =
      AddCommand(menu, txt::MenuLongitudEscala, [this] { AskScaleLength(Scale::kSingle); });
  items.scaleLengthH =
      AddCommand(menu, txt::MenuLongitudEscalaH, [this] { AskScaleLength(Scale::kHoriz); });
  items.scaleLengthV =
      AddCommand(menu, txt::MenuLongitudEscalaV, [this] { AskScaleLength(Scale::kVert); });
  items.angle = AddCommand(menu, txt::MenuAngulo, [this] { onAngleFieldClicked(); });
  items.invertX = AddCommand(menu, txt::MenuInvertirOX, [this] { session_->InvertXAxis(); });
  items.invertY = AddCommand(menu, txt::MenuInvertirOY, [this] { session_->InvertYAxis(); });
  items.interval = AddCommand(menu, txt::MenuIntervalo, [this] {
    IntervalDialog dialog(*messages_, this);
    if (const auto t = dialog.Ask(video_->FramesPerSecond(), video_->Interval()))
      session_->SetDuration(*t);
  });
  QMenu* erase = menu->addMenu(QTxt(txt::MenuBorrar));
  AddCommand(erase, txt::MenuBorrarMarcas, [this] { session_->DeleteAllMarks(); });
  AddCommand(erase, txt::MenuBorrarReferencia, [this] { session_->EraseOrigin(); });
  AddCommand(erase, txt::MenuBorrarEscala, [this] { session_->EraseScale(); });
  AddCommand(erase, txt::MenuBorrarTransparente, [this] { session_->DeleteAllOrigins(); });
  AddCommand(erase, txt::MenuBorrarTodo, [this] { session_->EraseEverything(); });
  items.perFrame = perFrame->menuAction();
  items.advance = advance->menuAction();
  items.erase = erase->menuAction();
}

void MainWindow::UpdatePointingMenus(const MenuState& state) {
  auto& items = pointingItems_;
  items.undo->setVisible(state.pointingItems);
  items.undo->setText(QString::fromStdString(session_->UndoMenuCaption()));
  for (QAction* action : items.draw) action->setVisible(state.pointingItems);
  items.objectMarks->setVisible(state.objectMarks);
  items.perFrame->setVisible(state.marksPerFrame);
  items.advance->setVisible(state.autoAdvance);
  items.scaleLength->setVisible(state.scaleLength);
  items.scaleLengthH->setVisible(state.scaleLengthsHV);
  items.scaleLengthV->setVisible(state.scaleLengthsHV);
  items.angle->setVisible(state.angleVisible);
  items.angle->setEnabled(state.angleEnabled);
  items.invertX->setVisible(state.pointingItems);
  items.invertY->setVisible(state.pointingItems);
  items.interval->setVisible(state.pointingItems);
  items.erase->setVisible(state.pointingItems);
}

void MainWindow::SetMarksPerFrame(int n) {
  if (session_->Tool() == PointingTool::Transparent && n > 1) {
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::OneMarkOnTransparent);
    ShowMessage(m);
    return;
  }
  session_->SetMarksNumberPerFrame(n);
}

void MainWindow::onFrameFieldClicked() {
  if (!ClipOpen()) return;
  const auto n =
      AskValue(ValueKind::FrameNumber, std::to_string(video_->CurrentMontageIndex() + 1));
  if (n) StepTo(int(*n) - 1);
}

// The angle is typed in degrees, counter-clockwise, and kept in radians.
void MainWindow::onAngleFieldClicked() {
  if (!ClipOpen() || !session_->OriginPlaced()) return;
  const double degrees = session_->XAxisAngle() * 180.0 / std::numbers::pi;
  if (const auto typed = AskValue(ValueKind::Angle, FormatValue(3, degrees))) {
    session_->SetXAxisAngle(*typed * std::numbers::pi / 180.0);
    onSessionChanged();
  }
}

}  // namespace kinovia
