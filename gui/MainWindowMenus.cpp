// The pointing commands of the Presentación and Medidas menus.
#include <QAction>
#include <QMenu>
#include <cmath>
#include <numbers>

#include "gui/IntervalDialog.h"
#include "gui/ValueDialog.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "core/Numbers.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "gui/VideoView.h"

namespace kinovia {

QAction* MainWindow::AddCommand(QMenu* menu, TxtId caption, std::function<void()> command) {
  return menu->addAction(QTxt(caption), this, [this, command = std::move(command)] {
    if (!ClipOpen()) return;  // every pointing command needs a clip
    command();
    SessionChanged();
  });
}

std::optional<double> MainWindow::AskValue(ValueKind kind, const std::string& initial) {
  return value_->Ask(MakeValueField(kind, CurrentValueContext()), initial);
}

void MainWindow::BuildPresentationMenu(QMenu* menu) {
  auto& items = pointingItems_;
  items.undo = AddCommand(menu, txt::ButtonCancelar, [this] { data_->Undo(); });
  QMenu* goTo = menu->addMenu(QTxt(txt::MenuIrA));
  AddCommand(goTo, txt::MenuIrUltimaPunteada, [this] { StepTo(data_->LastPointedFrame()); });
  AddCommand(goTo, txt::MenuIrImagenN, [this] { FrameFieldClick(); });
  QMenu* draw = menu->addMenu(QTxt(txt::MenuDibujar));
  AddCommand(draw, txt::MenuDibujarUltima, [this] {
    data_->SetAllDrawn(false);
    data_->SetMarksToDraw(1);
  });
  AddCommand(draw, txt::MenuDibujarTodas, [this] { data_->SetAllDrawn(true); });
  AddCommand(draw, txt::MenuOtros, [this] {
    if (const auto n = AskValue(ValueKind::tsNbMqDrawn, std::to_string(data_->MarksToDraw()))) {
      data_->SetAllDrawn(false);
      data_->SetMarksToDraw(int(*n));
    }
  });
  items.objectMarks =
      AddCommand(menu, txt::MenuMarcasObjeto, [this] { ToolClick(ToolAction::Nom); });
  QMenu* numbering = menu->addMenu(QTxt(txt::MenuNumeracion));
  int position = 0;
  for (TxtId caption : {txt::MenuNumDebajo, txt::MenuNumDerecha, txt::MenuNumNinguna})
    AddCommand(numbering, caption,
               [this, p = position++] { data_->SetNumberPosition(std::uint8_t(p)); });
  QMenu* size = menu->addMenu(QTxt(txt::MenuTamano));
  int elementSize = 0;
  for (TxtId caption : {txt::MenuPequeno, txt::MenuMediano, txt::MenuGrande})
    AddCommand(size, caption,
               [this, s = elementSize++] { data_->SetElementSize(std::uint8_t(s)); });
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
    if (const auto n = AskValue(ValueKind::tsNbMqParImg, std::to_string(data_->MarksPerFrame())))
      SetMarksPerFrame(int(*n));
  });
  QMenu* advance = menu->addMenu(QTxt(txt::MenuAvanzar));
  AddCommand(advance, txt::MenuUnaImagen, [this] { data_->SetFramesBetweenMarks(1); });
  AddCommand(advance, txt::MenuOtros, [this] {
    const auto n = AskValue(ValueKind::tsNbImgStep, std::to_string(data_->FramesBetweenMarks()));
    if (n) data_->SetFramesBetweenMarks(int(*n));
  });
  items.scaleLength =
      AddCommand(menu, txt::MenuLongitudEscala, [this] { AskScaleLength(Scale::kSingle); });
  items.scaleLengthH =
      AddCommand(menu, txt::MenuLongitudEscalaH, [this] { AskScaleLength(Scale::kHoriz); });
  items.scaleLengthV =
      AddCommand(menu, txt::MenuLongitudEscalaV, [this] { AskScaleLength(Scale::kVert); });
  items.angle = AddCommand(menu, txt::MenuAngulo, [this] { AngleFieldClick(); });
  items.invertX = AddCommand(menu, txt::MenuInvertirOX, [this] { data_->InvertXAxis(); });
  items.invertY = AddCommand(menu, txt::MenuInvertirOY, [this] { data_->InvertYAxis(); });
  items.interval = AddCommand(menu, txt::MenuIntervalo, [this] {
    IntervalDialog dialog(*messages_, this);
    if (const auto t = dialog.Ask(video_->FramesPerSecond(), video_->Interval()))
      data_->SetDuration(*t);
  });
  QMenu* erase = menu->addMenu(QTxt(txt::MenuBorrar));
  AddCommand(erase, txt::MenuBorrarMarcas, [this] { data_->DeleteAllMarks(); });
  AddCommand(erase, txt::MenuBorrarReferencia, [this] { data_->EraseOrigin(); });
  AddCommand(erase, txt::MenuBorrarEscala, [this] { data_->EraseScale(); });
  AddCommand(erase, txt::MenuBorrarTransparente, [this] { data_->DeleteAllOrigins(); });
  AddCommand(erase, txt::MenuBorrarTodo, [this] { data_->EraseEverything(); });
  items.perFrame = perFrame->menuAction();
  items.advance = advance->menuAction();
  items.erase = erase->menuAction();
}

void MainWindow::UpdatePointingMenus(const MenuState& state) {
  auto& items = pointingItems_;
  items.undo->setVisible(state.pointingItems);
  items.undo->setText(QString::fromStdString(data_->UndoMenuCaption()));
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
  if (data_->Tool() == PointingTool::Transparent && n > 1) {
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::OneMarkOnTransparent);
    ShowMessage(m);
    return;
  }
  data_->SetMarksNumberPerFrame(n);
}

void MainWindow::FrameFieldClick() {
  if (!ClipOpen()) return;
  const auto n =
      AskValue(ValueKind::tsNumImg, std::to_string(video_->CurrentMontageIndex() + 1));
  if (n) StepTo(int(*n) - 1);
}

// The angle is typed in degrees, counter-clockwise, and kept in radians.
void MainWindow::AngleFieldClick() {
  if (!ClipOpen() || !data_->OriginPlaced()) return;
  const double degrees = data_->XAxisAngle() * 180.0 / std::numbers::pi;
  if (const auto typed = AskValue(ValueKind::tsAngle, FormatValue(3, degrees))) {
    data_->SetXAxisAngle(*typed * std::numbers::pi / 180.0);
    SessionChanged();
  }
}

}  // namespace kinovia
