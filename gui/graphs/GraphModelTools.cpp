// The graph's model tools: the model's block drawn on the plot, and the modifier that drags the
// model curve to change the parameter under the mouse.
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/QtText.h"

#include "gui/graphs/GraphWidget.h"
#include "logic/graphs/ModelModifier.h"

namespace kinovia {
namespace {

constexpr int kGrabPixels = 6;
constexpr int kBlockMargin = 8;

}  // namespace

void GraphWidget::ShowModelBlock(bool equation, bool statistics) {
  blockEquation_ = equation;
  blockStatistics_ = statistics;
  update();
}

bool GraphWidget::HasModel() const {
  return std::any_of(curves_.begin(), curves_.end(), [](const Curve& c) { return bool(c.model); });
}

// In the upper left corner of the plot, on a pale box so that curves under it stay readable.
void GraphWidget::PaintModelBlock(QPainter& painter) {
  if (!blockEquation_ && !blockStatistics_) return;
  const auto curve =
      std::find_if(curves_.begin(), curves_.end(), [](const Curve& c) { return bool(c.model); });
  if (curve == curves_.end()) return;
  QStringList lines;
  if (blockEquation_)
    for (const std::string& line : curve->model->GetParamTexts(curve->ordinateName.toStdString(),
                                                               curve->abscissaName.toStdString()))
      lines << QString::fromStdString(line);
  if (blockStatistics_)
    for (const std::string& line : curve->model->GetStatTexts())
      lines << QString::fromStdString(line);
  if (lines.isEmpty()) return;
  QFont font = painter.font();
  font.setPointSize(9);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  const PlotArea a = Plot();
  const QRect box(a.left + kBlockMargin, a.top + kBlockMargin, width + 12,
                  int(lines.size()) * metrics.height() + 8);
  painter.setPen(QColourOf(curve->model->colour));
  painter.setBrush(QColor(255, 255, 255, 215));
  painter.drawRect(box);
  painter.setPen(Qt::black);
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(box.left() + 6, box.top() + 4 + metrics.ascent() + i * metrics.height(),
                     lines[i]);
}

bool GraphWidget::ModifierPress(QMouseEvent* event) {
  if (tool_ != Tool::ModelModifier) return false;
  const QPoint at = event->position().toPoint();
  const PlotMapping mapping = Mapping();
  const double x = mapping.XToData(at.x());
  for (int i = 0; i < int(curves_.size()); ++i) {
    Model* model = curves_[std::size_t(i)].model.get();
    if (!model) continue;
    const double y = model->Value(x);
    if (std::fabs(mapping.YToPixel(y) - at.y()) > kGrabPixels) continue;
    grab_ = Grab{i, GrabbedParameter(*model, mapping, at.x(), at.y()), x, y};
    setCursor(Qt::SizeAllCursor);
    break;
  }
  return true;
}

bool GraphWidget::ModifierMove(QMouseEvent* event) {
  if (tool_ != Tool::ModelModifier) return false;
  if (!grab_) return true;
  Model& model = *curves_[std::size_t(grab_->curve)].model;
  const bool slow = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  const PlotMapping mapping = Mapping();
  const double target = DragTarget(grab_->y, mapping.YToData(event->position().y()), slow);
  if (DragModelThrough(model, grab_->parameter, grab_->x, target, mapping)) {
    update();
    emit modelChanged();
  }
  return true;
}

}  // namespace kinovia
