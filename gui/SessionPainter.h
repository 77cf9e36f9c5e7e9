#pragma once
// Draws the session over the picture: marks with their numbers, the fixed axes, the sheet, the
// scale segments and the erase rectangle. Everything is drawn in view pixels, so it stays crisp
// at every zoom; the painter only reads the session.
#include <QColor>
#include <QPoint>

#include "logic/session/SessionPorts.h"

class QPainter;

namespace kinovia {

class Session;

inline constexpr int kMarkSymbolCount = 12;

// One of the twelve mark symbols centred on `at`; element size 0, 1 or 2 scales it.
void DrawMarkSymbol(QPainter& painter, QPoint at, int symbol, int elementSize, QColor colour);

void PaintSession(QPainter& painter, const Session& data, WorkingMode mode, bool startByZero);

}  // namespace kinovia
