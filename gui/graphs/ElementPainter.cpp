#include "gui/graphs/ElementPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "logic/graphs/GraphScales.h"

namespace kinovia {
namespace {

const QColor kElementColour(0, 0, 160);
const QColor kSelectedColour(220, 0, 0);

QPointF PixelOf(const PlotMapping& mapping, DataPoint p) {
  return {mapping.XToPixel(p.x), mapping.YToPixel(p.y)};
}

void PaintArrowHead(QPainter& painter, QPointF from, QPointF to) {
  const QLineF back(to, from);
  if (back.length() < 1) return;
  for (double turn : {25.0, -25.0}) {
    QLineF stroke = back;
    stroke.setLength(std::min(10.0, back.length() / 2));
    stroke.setAngle(back.angle() + turn);
    painter.drawLine(stroke);
  }
}

// The arc that shows an angle, between its two arms, with the value written beyond it.
QPointF PaintAngleArc(QPainter& painter, QPointF a, QPointF vertex, QPointF b) {
  const QLineF armA(vertex, a), armB(vertex, b);
  const double radius = std::min({24.0, armA.length() / 2, armB.length() / 2});
  double span = armB.angle() - armA.angle();
  if (span > 180) span -= 360;
  if (span < -180) span += 360;
  const QRectF box(vertex.x() - radius, vertex.y() - radius, 2 * radius, 2 * radius);
  QPainterPath path;
  path.arcMoveTo(box, armA.angle());
  path.arcTo(box, armA.angle(), span);
  painter.drawPath(path);
  QLineF middle(vertex, vertex + QPointF(1, 0));
  middle.setAngle(armA.angle() + span / 2);
  middle.setLength(radius + 14);
  return middle.p2();
}

}  // namespace

QString MeasureText(const Element& element, const QString& unit) {
  const auto measure = ElementMeasure(element);
  const bool ellipse = element.kind == ElementKind::Ellipse && element.points.size() >= 2;
  if (!measure && !ellipse) return {};
  const auto degrees = [](double value) {
    return QString::fromStdString(GeneralText(value, 3)) + QString::fromUtf8("°");
  };
  const auto length = [&unit](double value) {
    const QString text = QString::fromStdString(GeneralText(value, 3));
    return unit.isEmpty() ? text : text + " " + unit;
  };
  const auto& p = element.points;
  switch (element.kind) {
    case ElementKind::Ellipse: {
      const auto [a, b] = EllipseSemiAxes(p[0], p[1]);
      return "a = " + length(a) + " ; b = " + length(b);
    }
    case ElementKind::Angle:
      return degrees(*measure);
    case ElementKind::Circle:
      return "R = " + length(*measure);
    case ElementKind::Arc:
      return "R = " + length(*measure) + " ; " +
             degrees(std::fabs(ArcThrough(p[0], p[1], p[2])->sweepDegrees));
    default:
      return length(*measure);
  }
}

void PaintElement(QPainter& painter, const Element& element, const PlotMapping& mapping,
                  bool selected, const QString& unit) {
  const auto& points = element.points;
  if (points.empty()) return;
  painter.save();
  const QColor colour = selected ? kSelectedColour : kElementColour;
  painter.setPen(QPen(colour, 1.5));
  painter.setBrush(Qt::NoBrush);
  std::vector<QPointF> pixels;
  for (const DataPoint& p : points) pixels.push_back(PixelOf(mapping, p));
  QPointF label = pixels.back() + QPointF(6, -6);
  const int needed = PointsNeeded(element.kind);
  const bool complete = int(points.size()) >= needed;
  switch (element.kind) {
    case ElementKind::Segment:
    case ElementKind::Vector:
      if (pixels.size() >= 2) {
        painter.drawLine(pixels[0], pixels[1]);
        if (element.kind == ElementKind::Vector) PaintArrowHead(painter, pixels[0], pixels[1]);
        label = (pixels[0] + pixels[1]) / 2 + QPointF(6, -6);
      }
      break;
    case ElementKind::Angle:
      painter.drawPolyline(pixels.data(), int(pixels.size()));
      if (complete) label = PaintAngleArc(painter, pixels[0], pixels[1], pixels[2]);
      break;
    case ElementKind::Circle:
      if (const auto circle =
              complete ? CircleThrough(points[0], points[1], points[2]) : std::nullopt) {
        const QPointF centre = PixelOf(mapping, circle->centre);
        const double radius = std::fabs(mapping.XToPixel(circle->centre.x + circle->radius) -
                                        mapping.XToPixel(circle->centre.x));
        painter.drawEllipse(centre, radius, radius);
        painter.drawLine(centre - QPointF(4, 0), centre + QPointF(4, 0));
        painter.drawLine(centre - QPointF(0, 4), centre + QPointF(0, 4));
        label = centre + QPointF(6, -6);
      } else {
        painter.drawPolyline(pixels.data(), int(pixels.size()));
      }
      break;
    case ElementKind::Ellipse:
    case ElementKind::Arc:
    case ElementKind::Spline: {
      std::vector<QPointF> outline;
      for (const DataPoint& p : ElementOutline(element)) outline.push_back(PixelOf(mapping, p));
      painter.drawPolyline(outline.data(), int(outline.size()));
      if (element.kind == ElementKind::Ellipse && complete) {
        // The two semi-axes from the centre, so the measured lengths are seen.
        const QPointF centre = (pixels[0] + pixels[1]) / 2;
        painter.setPen(QPen(colour, 1, Qt::DashLine));
        painter.drawLine(centre, QPointF(std::max(pixels[0].x(), pixels[1].x()), centre.y()));
        painter.drawLine(centre, QPointF(centre.x(), std::min(pixels[0].y(), pixels[1].y())));
        label = QPointF(std::max(pixels[0].x(), pixels[1].x()), centre.y()) + QPointF(6, -6);
      }
      if (element.kind == ElementKind::Arc && complete) label = pixels[1] + QPointF(6, -6);
      break;
    }
    default:
      break;
  }
  if (selected || !complete || element.kind == ElementKind::Spline)
    for (const QPointF& p : pixels) painter.drawRect(QRectF(p - QPointF(3, 3), QSizeF(6, 6)));
  const QString text = MeasureText(element, unit);
  if (!text.isEmpty()) {
    QFont font = painter.font();
    font.setPointSize(9);
    painter.setFont(font);
    painter.drawText(label, text);
  }
  painter.restore();
}

}  // namespace kinovia
