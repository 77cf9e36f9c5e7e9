#include "app/UnitConfirmations.h"

#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

TMessage QuitMessage(bool clipOpen) {
  TMessage m;
  m.icon = TMessageIcon::Confirmation;
  if (clipOpen) {
    m.buttons = {txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonSalir};
    m.Line(txt::SaveWorkLine).Blank();
  } else {
    m.buttons = {txt::ButtonCancelar, txt::ButtonSalir};
  }
  m.Line(txt::CancelBackLine).Blank().Line(txt::QuitWithoutSavingLine);
  return m;
}

TMessage FileChangeMessage() {
  TMessage m;
  m.icon = TMessageIcon::Confirmation;
  m.buttons = {txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonIgnorar};
  m.Line(txt::SaveWorkLine).Line(txt::CancelOpenLine).Line(txt::IgnoreSaveLine);
  return m;
}

TLeaveChoice LeaveChoice(const TMessage& message, int pressed) {
  if (pressed < 0 || pressed >= int(message.buttons.size())) return TLeaveChoice::Cancel;
  const TxtId button = message.buttons[std::size_t(pressed)];
  if (button == txt::ButtonGuardar) return TLeaveChoice::Save;
  if (button == txt::ButtonCancelar) return TLeaveChoice::Cancel;
  return TLeaveChoice::Leave;
}

}  // namespace kinovia
