#include "gui/tracking/OutlinePainter.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "gui/QtText.h"
#include "logic/session/SessionPorts.h"
#include "logic/tracking/Contour.h"
#include "resources/TxtTracking.h"

namespace kinovia {
namespace {

QPoint ViewPoint(PointD fraction, const IViewMapping& mapping) {
  const PointI p = mapping.ToView(fraction);
  return {p.x, p.y};
}

}  // namespace

void PaintPolyline(QPainter& painter, std::span<const PointD> points, const IViewMapping& mapping,
                   QColor colour) {
  if (points.empty()) return;
  QPolygon line;
  line.reserve(static_cast<int>(points.size()));
  for (const PointD& p : points) line << ViewPoint(p, mapping);
  painter.setPen(QPen(colour, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(line);
}

void PaintOutlineInProgress(QPainter& painter, const OutlineDrawing& drawing,
                            const IViewMapping& mapping, QColor colour) {
  if (!drawing.Drawing()) return;
  if (drawing.Shape() == OutlineShape::Circle) {
    const QPoint centre = ViewPoint(drawing.CircleCentre(), mapping);
    const QPoint rim = ViewPoint(drawing.RubberEnd(), mapping);
    const int radius =
        static_cast<int>(std::lround(std::hypot(rim.x() - centre.x(), rim.y() - centre.y())));
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    return;
  }
  PaintPolyline(painter, drawing.Points(), mapping, colour);
  if (drawing.Shape() == OutlineShape::Polygon && !drawing.Points().empty())
    painter.drawLine(ViewPoint(drawing.Points().back(), mapping),
                     ViewPoint(drawing.RubberEnd(), mapping));
}

PointD OutlinePointAt(const IViewMapping& mapping, QPoint at, int pictureWidth, int pictureHeight) {
  const int w = std::max(pictureWidth, 1);
  const int h = std::max(pictureHeight, 1);
  const PointI pixel = ToPicturePixel(mapping.ToFraction({at.x(), at.y()}), w, h);
  return {double(pixel.x) / w, double(pixel.y) / h};
}

std::vector<QAction*> AddShapeItems(QMenu* menu, const std::array<const char*, 3>& names,
                                    const std::function<void(OutlineShape)>& choose) {
  QMenu* shapes = menu->addMenu(QTxt(txt::TrackMenuShape));
  auto* group = new QActionGroup(shapes);
  const TxtId captions[] = {txt::TrackMenuShapeFree, txt::TrackMenuShapePolygon,
                            txt::TrackMenuShapeCircle};
  std::vector<QAction*> items;
  for (std::size_t i = 0; i < names.size(); ++i) {
    QAction* action = shapes->addAction(QTxt(captions[i]));
    action->setObjectName(names[i]);
    action->setCheckable(true);
    QObject::connect(action, &QAction::triggered, shapes,
                     [choose, shape = OutlineShape(i)] { choose(shape); });
    group->addAction(action);
    items.push_back(action);
  }
  return items;
}

}  // namespace kinovia
