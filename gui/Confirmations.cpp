#include "gui/Confirmations.h"

#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

Message QuitMessage(bool clipOpen) {
  Message m;
  m.icon = MessageIcon::Confirmation;
  if (clipOpen) {
    m.buttons = {txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonSalir};
    m.Line(txt::SaveWorkLine).Blank();
  } else {
    m.buttons = {txt::ButtonCancelar, txt::ButtonSalir};
  }
  m.Line(txt::CancelBackLine).Blank().Line(txt::QuitWithoutSavingLine);
  return m;
}

Message FileChangeMessage() {
  Message m;
  m.icon = MessageIcon::Confirmation;
  m.buttons = {txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonIgnorar};
  m.Line(txt::SaveWorkLine).Line(txt::CancelOpenLine).Line(txt::IgnoreSaveLine);
  return m;
}

LeaveChoice LeaveChoiceOf(const Message& message, int pressed) {
  if (pressed < 0 || pressed >= int(message.buttons.size())) return LeaveChoice::Cancel;
  const TxtId button = message.buttons[std::size_t(pressed)];
  if (button == txt::ButtonGuardar) return LeaveChoice::Save;
  if (button == txt::ButtonCancelar) return LeaveChoice::Cancel;
  return LeaveChoice::Leave;
}

}  // namespace kinovia
