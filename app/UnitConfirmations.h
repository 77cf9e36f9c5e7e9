#pragma once
// The questions asked before the work on a clip is left: closing the program or opening another
// file.
#include "resources/UnitMessage.h"

namespace kinovia {

enum class TLeaveChoice { Save, Cancel, Leave };

// "Guardar", "Cancelar", "Salir" with a clip open; without one only "Cancelar" and "Salir".
TMessage QuitMessage(bool clipOpen);
// "Guardar", "Cancelar", "Ignorar" before another file replaces the open clip.
TMessage FileChangeMessage();
// The pressed button of either message as a choice.
TLeaveChoice LeaveChoice(const TMessage& message, int pressed);

}  // namespace kinovia
