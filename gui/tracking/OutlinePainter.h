#pragma once
// Draws outlines kept in frame fractions over the picture, in view pixels: finished contours and
// ban zones, and the outline the mouse is drawing with its rubber band or circle.
#include <QColor>
#include <span>

#include "core/Geometry.h"
#include "logic/tracking/OutlineDrawing.h"

class QPainter;

namespace kinovia {

class IViewMapping;

void PaintPolyline(QPainter& painter, std::span<const PointD> points, const IViewMapping& mapping,
                   QColor colour);
void PaintOutlineInProgress(QPainter& painter, const OutlineDrawing& drawing,
                            const IViewMapping& mapping, QColor colour);

}  // namespace kinovia
