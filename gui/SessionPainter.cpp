#include "gui/SessionPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "gui/QtText.h"
#include "logic/session/Session.h"
#include "resources/TxtSession.h"

namespace kinovia {
namespace {

constexpr int kArrowSizes[] = {10, 15, 20};
constexpr int kLabelPoints[] = {0, 18, 24};  // 0: the font as it is
constexpr int kNumberOffsets[] = {0, 4, 7};
constexpr int kNumberPoints[] = {0, 12, 15};

int SizeIndex(int elementSize) { return std::clamp(elementSize, 0, 2); }

QPolygonF RegularPolygon(QPointF c, double r, int sides, double startDegrees) {
  QPolygonF polygon;
  for (int i = 0; i < sides; ++i) {
    const double a = (startDegrees + 360.0 * i / sides) * M_PI / 180.0;
    polygon << QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
  }
  return polygon;
}

void DrawArrowHead(QPainter& painter, QPointF tip, QPointF from, int size) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length < 1e-9) return;
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  const QPointF base = tip - u * size;
  painter.drawPolygon(QPolygonF{tip, base + n * (size / 2.5), base - n * (size / 2.5)});
}

void DrawLabel(QPainter& painter, QPointF tip, QPointF from, const QString& label, int sizeIndex) {
  QFont font = painter.font();
  font.setBold(true);
  if (kLabelPoints[sizeIndex] > 0) font.setPointSize(kLabelPoints[sizeIndex]);
  painter.save();
  painter.setFont(font);
  const QPointF d = tip - from;
  const double length = std::max(std::hypot(d.x(), d.y()), 1e-9);
  // Beside the arrow head, on the side away from the picture's centre line.
  const QPointF n(-d.y() / length, d.x() / length);
  const QPointF at = tip - d / length * kArrowSizes[sizeIndex] + n * (kArrowSizes[sizeIndex] + 2);
  const QRectF box(at.x() - 20, at.y() - 20, 40, 40);
  painter.drawText(box, Qt::AlignCenter, label);
  painter.restore();
}

QPen ElementPen(const Session& data) {
  return QPen(QColourOf(data.ElementColour()), std::max(1, data.PenWidth()));
}

// One axis from its negative to its positive end, the arrow at the arrow end, then its label.
void DrawAxis(QPainter& painter, const PointI ends[2], PointI arrowEnd, const QString& label,
              int sizeIndex) {
  const QPointF a(ends[0].x, ends[0].y);
  const QPointF b(ends[1].x, ends[1].y);
  painter.drawLine(a, b);
  const QPointF tip(arrowEnd.x, arrowEnd.y);
  const QPointF from = tip == a ? b : a;
  DrawArrowHead(painter, tip, from, kArrowSizes[sizeIndex]);
  DrawLabel(painter, tip, from, label, sizeIndex);
}

void PaintFixedAxes(QPainter& painter, const Session& data) {
  const auto& axes = data.ReferenceAxes();
  if (!axes.OriginPlaced()) return;
  const int sizeIndex = SizeIndex(data.ElementSize());
  painter.setPen(ElementPen(data));
  painter.setBrush(QColourOf(data.ElementColour()));
  DrawAxis(painter, axes.XAxis(), axes.XArrowEnd(), QTxt(txt::SessionAxisLabelX), sizeIndex);
  DrawAxis(painter, axes.YAxis(), axes.YArrowEnd(), QTxt(txt::SessionAxisLabelY), sizeIndex);
}

void PaintSheet(QPainter& painter, const Session& data) {
  const auto& sheet = data.Transparent();
  const RectI r = sheet.SheetRect().Normalized();
  const int sizeIndex = SizeIndex(data.ElementSize());
  painter.setPen(ElementPen(data));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
  painter.setBrush(QColourOf(data.ElementColour()));
  const PointI c = sheet.CentreScreen();
  const PointI xEnds[2] = {{r.left, c.y}, {r.right, c.y}};
  const PointI yEnds[2] = {{c.x, r.bottom}, {c.x, r.top}};
  DrawAxis(painter, xEnds, sheet.DirectX() ? xEnds[1] : xEnds[0], QTxt(txt::SessionAxisLabelX),
           sizeIndex);
  DrawAxis(painter, yEnds, sheet.DirectY() ? yEnds[1] : yEnds[0], QTxt(txt::SessionAxisLabelY),
           sizeIndex);
}

void PaintScale(QPainter& painter, const Session& data) {
  const auto& scale = data.CalibrationScale();
  painter.setPen(ElementPen(data));
  painter.setBrush(Qt::NoBrush);
  const int r = 3 + 2 * SizeIndex(data.ElementSize());
  for (auto segment : {Scale::kSingle, Scale::kHoriz, Scale::kVert}) {
    const int count = scale.PointCount(segment);
    for (int end = 0; end < count && end < 2; ++end) {
      const PointI p = scale.Screen(segment, end);
      painter.drawLine(p.x - r, p.y, p.x + r, p.y);
      painter.drawLine(p.x, p.y - r, p.x, p.y + r);
    }
    if (count >= 2) {
      const PointI a = scale.Screen(segment, 0);
      const PointI b = scale.Screen(segment, 1);
      painter.drawLine(a.x, a.y, b.x, b.y);
    }
  }
  if (const auto rubber = scale.RubberLine()) {
    painter.setPen(QPen(QColourOf(data.ElementColour()), 1, Qt::DashLine));
    painter.drawLine(rubber->first.x, rubber->first.y, rubber->second.x, rubber->second.y);
  }
}

void PaintNumber(QPainter& painter, QPoint at, int number, int position, int sizeIndex) {
  const int k = kNumberOffsets[sizeIndex];
  QFont font = painter.font();
  if (kNumberPoints[sizeIndex] > 0) font.setPointSize(kNumberPoints[sizeIndex]);
  painter.setFont(font);
  const QPoint topLeft = position == 0 ? QPoint(at.x() - k / 2 - 2, at.y() + k + 4)
                                       : QPoint(at.x() + k + 8, at.y() - k / 2 - 7);
  painter.drawText(QRect(topLeft, QSize(60, 30)), Qt::AlignLeft | Qt::AlignTop,
                   QString::number(number));
}

void PaintMarks(QPainter& painter, const Session& data, const MarkStore& store, bool startByZero) {
  if (store.DragState() == MarkStore::kErasing) {
    const RectI r = store.EraseRect().Normalized();
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
  }
  const auto& marks = store.Marks();
  const int n = int(marks.size());
  const int first = store.AllDrawn() ? 0 : std::max(0, n - store.MarksToDraw());
  const int sizeIndex = SizeIndex(data.ElementSize());
  const QFont font = painter.font();
  for (int i = first; i < n; ++i) {
    const Mark& mark = *marks[std::size_t(i)];
    const int object = mark.Order();
    if (!data.ObjectVisible(object)) continue;
    const QColor colour = QColourOf(data.ObjectColour(object));
    const QPoint at(mark.Screen().x, mark.Screen().y);
    DrawMarkSymbol(painter, at, object % kMarkSymbolCount, sizeIndex, colour);
    if (store.NumberPosition() == 2 || !mark.Container()) continue;
    const int rank = mark.Container()->Rank();
    PaintNumber(painter, at, startByZero ? rank : rank + 1, store.NumberPosition(), sizeIndex);
    painter.setFont(font);
  }
}

}  // namespace

void DrawMarkSymbol(QPainter& painter, QPoint at, int symbol, int elementSize, QColor colour) {
  const double r = 4 + 2 * SizeIndex(elementSize);
  const QPointF c(at.x() + 0.5, at.y() + 0.5);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 1));
  painter.setBrush(Qt::NoBrush);
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  switch (((symbol % kMarkSymbolCount) + kMarkSymbolCount) % kMarkSymbolCount) {
    case 0:  // plus
      painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
      painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
      break;
    case 1:  // cross
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.topRight(), box.bottomLeft());
      break;
    case 2:
      painter.drawEllipse(box);
      break;
    case 3:
      painter.drawRect(box);
      break;
    case 4:
      painter.drawPolygon(RegularPolygon(c, r, 3, 90));
      break;
    case 5:
      painter.drawPolygon(RegularPolygon(c, r, 4, 90));
      break;
    case 6:
      painter.drawPolygon(RegularPolygon(c, r, 3, 270));
      break;
    case 7:  // star of three strokes
      for (int i = 0; i < 3; ++i) {
        const double a = M_PI / 2 + i * M_PI / 3;
        const QPointF d(r * std::cos(a), r * std::sin(a));
        painter.drawLine(c - d, c + d);
      }
      break;
    case 8:
      painter.setBrush(colour);
      painter.drawEllipse(box);
      break;
    case 9:
      painter.setBrush(colour);
      painter.drawRect(box);
      break;
    case 10:  // circle with a plus
      painter.drawEllipse(box);
      painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
      painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
      break;
    default:  // square with a cross
      painter.drawRect(box);
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.topRight(), box.bottomLeft());
      break;
  }
  painter.restore();
}

void PaintSession(QPainter& painter, const Session& data, WorkingMode mode, bool startByZero) {
  if (mode != WorkingMode::FixedAxes && mode != WorkingMode::Transparent) return;
  painter.save();
  PaintScale(painter, data);
  if (mode == WorkingMode::FixedAxes) {
    PaintFixedAxes(painter, data);
    PaintMarks(painter, data, data.FixedStore(), startByZero);
  } else {
    PaintSheet(painter, data);
    PaintMarks(painter, data, data.TransparentStore(), startByZero);
  }
  painter.restore();
}

}  // namespace kinovia
