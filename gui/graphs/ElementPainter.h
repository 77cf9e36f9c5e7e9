#pragma once
// The drawing of the construction elements: the shape, and beside it what it measures.
#include <QColor>
#include <QString>

#include "logic/graphs/Construction.h"

class QPainter;

namespace kinovia {

// The text of what the element measures: a length or radius with its unit, an angle in degrees;
// empty when there is nothing to measure.
QString MeasureText(const Element& element, const QString& unit);

// Draws the element; a selected one in another colour with its points marked.
void PaintElement(QPainter& painter, const Element& element, const PlotMapping& mapping,
                  bool selected, const QString& unit);

}  // namespace kinovia
