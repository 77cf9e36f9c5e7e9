// The construction tools of the graph: drawing segments, vectors, angles, circles, arcs, ellipses
// and curves click by click, selecting, moving, duplicating and deleting them, measuring, and
// undoing those changes.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "gui/QtText.h"
#include "gui/graphs/ElementPainter.h"
#include "gui/graphs/GraphWidget.h"
#include "logic/graphs/GraphScales.h"

namespace kinovia {
namespace {

constexpr double kHitPixels = 5;
constexpr int kDragPixels = 4;  // a release this far from the press ends a dragged element
constexpr double kDuplicateShiftPixels = 10;

std::optional<ElementKind> KindDrawnBy(GraphWidget::Tool tool) {
  switch (tool) {
    case GraphWidget::Tool::Angle:
      return ElementKind::Angle;
    case GraphWidget::Tool::Circle:
      return ElementKind::Circle;
    case GraphWidget::Tool::Segment:
      return ElementKind::Segment;
    case GraphWidget::Tool::Vector:
      return ElementKind::Vector;
    case GraphWidget::Tool::Arc:
      return ElementKind::Arc;
    case GraphWidget::Tool::Ellipse:
      return ElementKind::Ellipse;
    case GraphWidget::Tool::Spline:
      return ElementKind::Spline;
    default:
      return std::nullopt;
  }
}

}  // namespace

void GraphWidget::KeepElementsFor(const QString& key) {
  if (key == elementsKey_) return;
  elementsKey_ = key;
  construction_.Clear();
  pending_.clear();
  selected_ = -1;
  emit elementsChanged();
  update();
}

bool GraphWidget::UndoElementChange() {
  if (!construction_.Undo()) return false;
  pending_.clear();
  selected_ = -1;
  emit elementsChanged();
  update();
  return true;
}

bool GraphWidget::DuplicateSelected() {
  if (selected_ < 0) return false;
  const DataPoint origin = DataAt({0, 0});
  const DataPoint aside = DataAt({kDuplicateShiftPixels, kDuplicateShiftPixels});
  construction_.Duplicate({selected_}, aside.x - origin.x, aside.y - origin.y);
  selected_ = int(construction_.Elements().size()) - 1;
  emit elementsChanged();
  update();
  return true;
}

QString GraphWidget::UndoCaption() const {
  return QString::fromStdString(ConstructionUndoCaption(construction_));
}

DataPoint GraphWidget::DataAt(QPointF pixel) const {
  const PlotMapping mapping = Mapping();
  return {mapping.XToData(pixel.x()), mapping.YToData(pixel.y())};
}

void GraphWidget::ShowHint(const QString& text, QPoint at) {
  hintText_ = text;
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(mapToGlobal(at + QPoint(0, 10)), text, this);
}

void GraphWidget::PaintElements(QPainter& painter) const {
  const PlotMapping mapping = Mapping();
  const auto& elements = construction_.Elements();
  for (std::size_t i = 0; i < elements.size(); ++i)
    PaintElement(painter, elements[i], mapping, int(i) == selected_, measureUnit_);
  // The element being drawn, with the mouse as its next point.
  const auto kind = KindDrawnBy(tool_);
  if (kind && !pending_.empty()) {
    Element drawn{*kind, pending_};
    if (hover_) drawn.points.push_back(DataAt(*hover_));
    PaintElement(painter, drawn, mapping, false, measureUnit_);
  }
  if (tool_ == Tool::Measure && dragFrom_ && hover_) {
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(QPointF(mapping.XToPixel(dragFrom_->x), mapping.YToPixel(dragFrom_->y)),
                     *hover_);
  }
}

void GraphWidget::AddPendingPoint(QPoint at) {
  pending_.push_back(DataAt(at));
  // A curve takes control points until the double click that ends it.
  if (tool_ != Tool::Spline) FinishPending(at);
}

void GraphWidget::FinishPending(std::optional<QPoint> hintAt) {
  const auto kind = KindDrawnBy(tool_);
  if (!kind || int(pending_.size()) < PointsNeeded(*kind)) return;
  construction_.Add({*kind, std::move(pending_)});
  pending_.clear();
  if (hintAt) ShowHint({}, *hintAt);
  emit elementsChanged();
}

void GraphWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The first click of the pair gave the curve its last control point.
  if (tool_ == Tool::Spline && event->button() == Qt::LeftButton) {
    FinishPending(event->position().toPoint());
    update();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

bool GraphWidget::ElementPress(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (KindDrawnBy(tool_)) {
    if (event->button() == Qt::RightButton) {
      pending_.clear();  // the right button gives up the element being drawn
    } else if (event->button() == Qt::LeftButton) {
      AddPendingPoint(at);
    }
    update();
    return true;
  }
  if (event->button() != Qt::LeftButton) return false;
  switch (tool_) {
    case Tool::Selection:
      selected_ = HitElement(construction_.Elements(), Mapping(), at.x(), at.y(), kHitPixels);
      if (selected_ >= 0) {
        dragFrom_ = DataAt(at);
        moveRecorded_ = false;
      }
      setFocus();
      update();
      return true;
    case Tool::Delete:
      if (const int hit =
              HitElement(construction_.Elements(), Mapping(), at.x(), at.y(), kHitPixels);
          hit >= 0) {
        construction_.Delete(hit);
        emit elementsChanged();
        update();
      }
      return true;
    case Tool::Measure:
      dragFrom_ = DataAt(at);
      return true;
    default:
      return false;
  }
}

bool GraphWidget::ElementMove(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  hover_ = at;
  if (KindDrawnBy(tool_)) {
    if (!pending_.empty()) {
      Element drawn{*KindDrawnBy(tool_), pending_};
      drawn.points.push_back(DataAt(at));
      ShowHint(MeasureText(drawn, measureUnit_), at);
    }
    update();
    return true;
  }
  if (tool_ == Tool::Selection && dragFrom_ && selected_ >= 0) {
    const DataPoint now = DataAt(at);
    // Recorded on the first move, so a click that only selects leaves nothing to undo.
    if (!moveRecorded_) construction_.BeginMove(selected_);
    moveRecorded_ = true;
    construction_.MoveBy(selected_, now.x - dragFrom_->x, now.y - dragFrom_->y);
    dragFrom_ = now;
    update();
    return true;
  }
  if (tool_ == Tool::Measure && dragFrom_) {
    ShowHint(MeasureText({ElementKind::Segment, {*dragFrom_, DataAt(at)}}, measureUnit_), at);
    update();
    return true;
  }
  return tool_ == Tool::Selection || tool_ == Tool::Delete || tool_ == Tool::Measure;
}

bool GraphWidget::ElementRelease(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (KindDrawnBy(tool_)) {
    // Pressed, dragged and released: the release gives the next point.
    if (!pending_.empty() && pressAt_ && (at - *pressAt_).manhattanLength() > kDragPixels)
      AddPendingPoint(at);
    update();
    return true;
  }
  if (tool_ == Tool::Selection || tool_ == Tool::Measure) {
    if (tool_ == Tool::Selection && moveRecorded_ && selected_ >= 0) emit elementsChanged();
    moveRecorded_ = false;
    if (tool_ == Tool::Measure) ShowHint({}, at);
    dragFrom_.reset();
    update();
    return true;
  }
  return tool_ == Tool::Delete;
}

void GraphWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && selected_ >= 0) {
    construction_.Delete(selected_);
    selected_ = -1;
    emit elementsChanged();
    update();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && tool_ == Tool::Spline) {
    FinishPending(std::nullopt);
    update();
    return;
  }
  if (event->key() == Qt::Key_Escape && !pending_.empty()) {
    pending_.clear();
    update();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace kinovia
