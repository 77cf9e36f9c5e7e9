#pragma once
// The questions asked before the work on a clip is left: closing the program or opening another
// file.
#include "core/Message.h"

namespace kinovia {

enum class LeaveChoice { Save, Cancel, Leave };

// "Guardar", "Cancelar", "Salir" with a clip open; without one only "Cancelar" and "Salir".
Message QuitMessage(bool clipOpen);
// "Guardar", "Cancelar", "Ignorar" before another file replaces the open clip.
Message FileChangeMessage();
// The pressed button of either message as a choice.
LeaveChoice LeaveChoiceOf(const Message& message, int pressed);

}  // namespace kinovia
