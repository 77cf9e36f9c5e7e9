#pragma once
// The picture's cursors, drawn from the program's own resources.
#include <QCursor>

namespace kinovia {

enum class CursorShape { Arrow, Zoom, Pan, Scale, Axes, Grab, Move, Turn, End, Mark };

// Loaded once; `number` from 1 to 10 chooses a numbered mark cursor (0: the plain one).
const QCursor& KinoviaCursor(CursorShape shape, int number = 0);

}  // namespace kinovia
