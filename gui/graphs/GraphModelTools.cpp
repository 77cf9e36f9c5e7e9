// The graph's model tools: the box of values (the reticle's coordinates, the model's block) and the
// modifier that drags the model curve to change the parameter under the mouse.
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
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

bool GraphWidget::HasModel() const { return ModelledCurve() != nullptr; }

const Curve* GraphWidget::ModelledCurve() const {
  const auto curve =
      std::find_if(curves_.begin(), curves_.end(), [](const Curve& c) { return bool(c.model); });
  return curve != curves_.end() ? &*curve : nullptr;
}

// The coordinates under the reticle, named as the axes are, then the block of the first model.
QStringList GraphWidget::ValueBoxLines() const {
  QStringList lines;
  if (tool_ == Tool::Reticle && reticle_) {
    const auto line = [](const QStringList& title, double value) {
      return title.value(0) + " = " + QString::fromStdString(GeneralText(value, 4));
    };
    lines << line(titleX_, reticle_->x()) << line(titleY_, reticle_->y());
  }
  const Curve* curve = ModelledCurve();
  if (!curve) return lines;
  if (blockEquation_)
    for (const std::string& line : curve->model->GetParamTexts(curve->ordinateName.toStdString(),
                                                               curve->abscissaName.toStdString()))
      lines << QString::fromStdString(line);
  if (blockStatistics_)
    for (const std::string& line : curve->model->GetStatTexts())
      lines << QString::fromStdString(line);
  return lines;
}

// In the chosen corner of the plot, on a pale box so that curves under it stay readable; below
// the scales that the vectors page draws along its top.
void GraphWidget::PaintValueBox(QPainter& painter) {
  const QStringList lines = ValueBoxLines();
  valueBox_ = QRect();
  if (lines.isEmpty() || boxCorner_ == ValueBoxCorner::None) return;
  QFont font = painter.font();
  font.setPointSize(9);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  const PlotArea a = Plot();
  const QSize size(width + 12, int(lines.size()) * metrics.height() + 8);
  const bool left = boxCorner_ == ValueBoxCorner::UpLeft || boxCorner_ == ValueBoxCorner::DownLeft;
  const bool up = boxCorner_ == ValueBoxCorner::UpLeft || boxCorner_ == ValueBoxCorner::UpRight;
  const int top = a.top + kBlockMargin + (distanceScaleShown_ || vectorScaleShown_ ? 32 : 0);
  valueBox_ =
      QRect(QPoint(left ? a.left + kBlockMargin : a.left + a.width - kBlockMargin - size.width(),
                   up ? top : a.top + a.height - kBlockMargin - size.height()),
            size);
  const Curve* modelled = ModelledCurve();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(modelled ? QColourOf(modelled->model->colour) : QColor(Qt::darkGray));
  painter.setBrush(QColor(255, 255, 255, 215));
  painter.drawRect(valueBox_);
  painter.setPen(Qt::black);
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(valueBox_.left() + 6,
                     valueBox_.top() + 4 + metrics.ascent() + i * metrics.height(), lines[i]);
  painter.setRenderHint(QPainter::Antialiasing);
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
