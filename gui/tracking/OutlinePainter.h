#pragma once
// Draws outlines kept in frame fractions over the picture, in view pixels: finished contours and
// ban zones, and the outline the mouse is drawing with its rubber band or circle; and what the
// tracking and studio modes share to draw them: the point under the mouse, the tool icons.
#include <QColor>
#include <QPoint>
#include <array>
#include <functional>
#include <span>
#include <vector>

#include "core/Geometry.h"
#include "logic/tracking/OutlineDrawing.h"

class QAction;
class QMenu;
class QPainter;

namespace kinovia {

class IViewMapping;

void PaintPolyline(QPainter& painter, std::span<const PointD> points, const IViewMapping& mapping,
                   QColor colour);
void PaintOutlineInProgress(QPainter& painter, const OutlineDrawing& drawing,
                            const IViewMapping& mapping, QColor colour);

// The frame fraction under a view point, on the picture's pixel grid as the frame's pixels are.
PointD OutlinePointAt(const IViewMapping& mapping, QPoint at, int pictureWidth, int pictureHeight);

// The submenu "Forma del contorno" of `menu` with its three checkable items, named by `names` in
// the order of OutlineShape; `choose` gets the shape of the item triggered. The items come back
// in the same order.
std::vector<QAction*> AddShapeItems(QMenu* menu, const std::array<const char*, 3>& names,
                                    const std::function<void(OutlineShape)>& choose);

}  // namespace kinovia
