#pragma once
// Draws outlines kept in frame fractions over the picture, in view pixels: finished contours and
// ban zones, and the outline the mouse is drawing with its rubber band or circle; and what the
// tracking and studio modes share to draw them: the point under the mouse, the tool icons.
#include <QColor>
#include <QIcon>
#include <QPoint>
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

// The frame fraction under a view point, on the picture's pixel grid as the frame's pixels are.
PointD OutlinePointAt(const IViewMapping& mapping, QPoint at, int pictureWidth, int pictureHeight);

// A tool button's icon: one glyph, bold.
QIcon GlyphIcon(const QString& glyph);

}  // namespace kinovia
