#include "gui/graphs/GraphWidget.h"

#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "gui/QtText.h"
#include "resources/TxtTable.h"

namespace kinovia {
namespace {

constexpr int kSubdivisions = 5;
constexpr int kTickLength = 6;
constexpr int kTitleFromEdge = 14;
// The symbols' radius and stroke for the three point sizes.
constexpr double kSymbolRadii[] = {3, 4.5, 6};
constexpr double kSymbolPens[] = {1.5, 2, 2.5};
constexpr int kModelHitPixels = 4;
constexpr double kUnseenPolylineStep = 0.25;
constexpr int kStampPhases = 4;  // a quarter pixel: the stamp lands within 1/8 pixel of the point
const QColor kLabelColour(20, 20, 100);

QFont SizedFont(int points, bool bold = false) {
  QFont font;
  font.setPointSize(points);
  font.setBold(bold);
  return font;
}

// The symbols of a curve's points, one shape per object, all drawn as lines in one call.
void AddSymbol(std::vector<QLineF>& lines, QPointF p, int symbol, double r) {
  switch (symbol % 4) {
    case 0:
      lines.emplace_back(p.x() - r, p.y(), p.x() + r, p.y());
      lines.emplace_back(p.x(), p.y() - r, p.x(), p.y() + r);
      break;
    case 1:
      lines.emplace_back(p.x() - r, p.y() - r, p.x() + r, p.y() + r);
      lines.emplace_back(p.x() - r, p.y() + r, p.x() + r, p.y() - r);
      break;
    case 2: {
      const QPointF a(p.x() - r, p.y() - r), b(p.x() + r, p.y() - r);
      const QPointF c(p.x() + r, p.y() + r), d(p.x() - r, p.y() + r);
      lines.insert(lines.end(), {{a, b}, {b, c}, {c, d}, {d, a}});
      break;
    }
    default: {
      const QPointF a(p.x(), p.y() - r - 1), b(p.x() + r + 1, p.y());
      const QPointF c(p.x(), p.y() + r + 1), d(p.x() - r - 1, p.y());
      lines.insert(lines.end(), {{a, b}, {b, c}, {c, d}, {d, a}});
      break;
    }
  }
}

// Ten thousand points on a graph a thousand pixels wide put several on each pixel; a point that
// lies within `step` pixels of the last one kept changes nothing the eye can see, yet each one
// costs a stroke. The last point always stays so the polyline ends where the data ends.
std::vector<QPointF> VisiblyDistinct(const std::vector<QPointF>& pixels, double step) {
  std::vector<QPointF> kept;
  kept.reserve(pixels.size());
  for (const QPointF& p : pixels)
    if (kept.empty() || std::fabs(p.x() - kept.back().x()) >= step ||
        std::fabs(p.y() - kept.back().y()) >= step)
      kept.push_back(p);
  if (!pixels.empty() && kept.back() != pixels.back()) kept.push_back(pixels.back());
  return kept;
}

// A symbol stroked once for each quarter-pixel phase and then stamped at every point: stroking
// the symbols of ten curves of ten thousand points one by one took most of a page's refresh.
// Stamps are made at the device's pixel ratio, so they stay crisp on high-DPI screens.
class SymbolStamps {
 public:
  SymbolStamps(int symbol, const QColor& colour, qreal ratio, int size)
      : ratio_(ratio), margin_(int(std::ceil((kSymbolRadii[size] + 2) * ratio))) {
    const int side = 2 * margin_ + 2;
    for (int phase = 0; phase < kStampPhases * kStampPhases; ++phase) {
      QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.scale(ratio, ratio);
      const QPointF centre(margin_ + double(phase % kStampPhases) / kStampPhases,
                           margin_ + double(phase / kStampPhases) / kStampPhases);
      std::vector<QLineF> lines;
      AddSymbol(lines, centre / ratio, symbol, kSymbolRadii[size]);
      painter.setPen(QPen(colour, kSymbolPens[size]));
      painter.drawLines(lines.data(), int(lines.size()));
      painter.end();
      image.setDevicePixelRatio(ratio);
      stamps_.push_back(std::move(image));
    }
  }

  // `offset` is the painter's translation: the phase is taken in device pixels.
  void Stamp(QPainter& painter, QPointF centre, QPointF offset) const {
    const double x = std::floor((centre.x() + offset.x()) * ratio_ * kStampPhases + 0.5);
    const double y = std::floor((centre.y() + offset.y()) * ratio_ * kStampPhases + 0.5);
    const double cellX = std::floor(x / kStampPhases), cellY = std::floor(y / kStampPhases);
    const int phase = int(x - cellX * kStampPhases) + kStampPhases * int(y - cellY * kStampPhases);
    painter.drawImage(
        QPointF((cellX - margin_) / ratio_ - offset.x(), (cellY - margin_) / ratio_ - offset.y()),
        stamps_[std::size_t(phase)]);
  }

 private:
  qreal ratio_;
  int margin_;
  std::vector<QImage> stamps_;
};

void PaintSymbols(QPainter& painter, const std::vector<QPointF>& centres, const Curve& curve,
                  int size) {
  const QTransform world = painter.worldTransform();
  if (world.type() > QTransform::TxTranslate) {
    // Printing scales the page: there the symbols are stroked as they are.
    std::vector<QLineF> lines;
    lines.reserve(centres.size() * 4);
    for (const QPointF& p : centres) AddSymbol(lines, p, curve.symbol, kSymbolRadii[size]);
    painter.setPen(QPen(curve.colour, kSymbolPens[size]));
    painter.drawLines(lines.data(), int(lines.size()));
    return;
  }
  const SymbolStamps stamps(curve.symbol, curve.colour, painter.device()->devicePixelRatioF(),
                            size);
  const QPointF offset(world.dx(), world.dy());
  for (const QPointF& p : centres) stamps.Stamp(painter, p, offset);
}

// A smooth curve through every point: each piece a cubic whose tangents at its ends are those of
// the chords through the neighbouring points.
QPainterPath SplineThrough(const std::vector<QPointF>& p) {
  QPainterPath path(p.front());
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    const QPointF before = p[i == 0 ? 0 : i - 1];
    const QPointF after = p[std::min(i + 2, p.size() - 1)];
    path.cubicTo(p[i] + (p[i + 1] - before) / 6, p[i + 1] - (after - p[i]) / 6, p[i + 1]);
  }
  return path;
}

// A line with a head of two short strokes at `to`.
void AddArrow(std::vector<QLineF>& lines, QPointF from, QPointF to) {
  lines.emplace_back(from, to);
  const QLineF back(to, from);
  if (back.length() < 1) return;
  const double head = std::min(8.0, back.length() / 2);
  for (double turn : {25.0, -25.0}) {
    QLineF stroke = back;
    stroke.setLength(head);
    stroke.setAngle(back.angle() + turn);
    lines.push_back(stroke);
  }
}

// The title's lines: the first blue and bold, the others regular; cut with "..." when too long.
void PaintTitle(QPainter& painter, const QStringList& lines, QPointF topCentre, int length) {
  double y = topCentre.y();
  for (int i = 0; i < lines.size(); ++i) {
    const QFont font = i == 0 ? SizedFont(14, true) : SizedFont(12);
    painter.setFont(font);
    painter.setPen(i == 0 ? QColor(Qt::blue) : QColor(Qt::black));
    const QFontMetrics metrics(font);
    const QString text = metrics.elidedText(lines[i], Qt::ElideRight, length);
    painter.drawText(QRectF(topCentre.x() - length / 2.0, y, length, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, text);
    y += metrics.height();
  }
}

}  // namespace

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setMinimumSize(240, 200);
}

void GraphWidget::SetLayout(const Layout& layout) {
  layout_ = layout;
  UpdateModelPlots();
  update();
}

PlotArea GraphWidget::Plot() const {
  return {layout_.fromLeft, layout_.fromTop,
          std::max(1, width() - layout_.fromLeft - layout_.fromRight),
          std::max(1, height() - layout_.fromTop - layout_.fromBottom)};
}

void GraphWidget::Clear() {
  curves_.clear();
  spare_ = Curve{};
  update();
}

int GraphWidget::AddCurve(Curve curve) {
  curves_.push_back(std::move(curve));
  update();
  return int(curves_.size()) - 1;
}

namespace {

bool SameData(const Curve& a, const Curve& b) {
  return a.x == b.x && a.y == b.y && a.numbers == b.numbers && a.vx == b.vx && a.vy == b.vy &&
         a.colour == b.colour && a.symbol == b.symbol && a.showPoints == b.showPoints &&
         a.showPolyline == b.showPolyline && a.showNumbers == b.showNumbers &&
         a.showSpline == b.showSpline;
}

}  // namespace

int GraphWidget::ReplaceCurves(std::vector<Curve> curves) {
  int changed = 0;
  if (curves.size() != curves_.size()) {
    changed = int(std::max(curves.size(), curves_.size()));
    curves_ = std::move(curves);
  } else {
    for (std::size_t i = 0; i < curves.size(); ++i) {
      if (SameData(curves[i], curves_[i])) continue;
      ++changed;
      curves[i].model = std::move(curves_[i].model);
      curves[i].ordinateName = curves_[i].ordinateName;
      curves[i].abscissaName = curves_[i].abscissaName;
      curves_[i] = std::move(curves[i]);
      if (curves_[i].model) curves_[i].model->Fit(curves_[i].x, curves_[i].y);
    }
  }
  if (changed > 0) update();
  return changed;
}

Curve& GraphWidget::CurveAt(int index) {
  if (index < 0 || index >= int(curves_.size())) return spare_;
  return curves_[std::size_t(index)];
}

void GraphWidget::SetWindow(const PlotWindow& window, bool orthonormal) {
  factorX_ = factorY_ = 1;
  orthonormal_ = orthonormal;
  SetWindowKeepZoom(window);
}

void GraphWidget::SetWindowKeepZoom(const PlotWindow& window) {
  window_ = window;
  UpdateModelPlots();
  update();
  emit windowChanged();
}

void GraphWidget::SetMarks(int size, GraphNumberPlace numbers) {
  pointSize_ = std::clamp(size, 0, int(std::size(kSymbolRadii)) - 1);
  numberPlace_ = numbers;
  update();
}

void GraphWidget::SetValueBoxCorner(ValueBoxCorner corner) {
  boxCorner_ = corner;
  update();
}

void GraphWidget::ShowOrigin(bool shown) {
  originShown_ = shown;
  update();
}

void GraphWidget::SetTitles(const QStringList& x, const QStringList& y) {
  titleX_ = x;
  titleY_ = y;
  update();
}

void GraphWidget::SetVectorScale(const VectorScale& scale, const QString& unit) {
  vectorScale_ = scale;
  vectorUnit_ = unit;
  update();
}

void GraphWidget::ShowScales(bool distance, bool vectors) {
  distanceScaleShown_ = distance;
  vectorScaleShown_ = vectors;
  update();
}

void GraphWidget::SetPicture(const QImage& picture, const QTransform& pictureToData) {
  picture_ = picture;
  pictureToData_ = pictureToData;
  update();
}

void GraphWidget::ShowPicture(bool shown) {
  pictureShown_ = shown;
  update();
}

QTransform GraphWidget::DataToPixel() const {
  const PlotArea a = Plot();
  const double kx = a.width / (window_.xMax - window_.xMin);
  const double ky = a.height / (window_.yMax - window_.yMin);
  return QTransform(kx, 0, 0, -ky, a.left - window_.xMin * kx,
                    a.top + a.height + window_.yMin * ky);
}

void GraphWidget::SetTool(Tool tool) {
  tool_ = tool;
  rubber_.reset();
  pressAt_.reset();
  pending_.clear();  // leaving a creation tool gives up its half-drawn element
  dragFrom_.reset();
  hintText_.clear();
  if (tool != Tool::Selection) selected_ = -1;
  if (tool != Tool::Reticle) reticle_.reset();
  QToolTip::hideText();
  const bool drawing =
      (int(tool) >= int(Tool::Angle) && int(tool) <= int(Tool::Spline)) || tool == Tool::Measure;
  setCursor(tool == Tool::Zoom || drawing ? Qt::CrossCursor
            : tool == Tool::Pan           ? Qt::OpenHandCursor
            : tool == Tool::Reticle       ? Qt::BlankCursor
            : tool == Tool::Delete        ? Qt::PointingHandCursor
                                          : Qt::ArrowCursor);
  setFocusPolicy(Qt::ClickFocus);
  update();
}

bool GraphWidget::SetModel(int index, ModelKind kind, const QString& ordinate,
                           const QString& abscissa) {
  Curve& curve = CurveAt(index);
  curve.model = MakeModel(kind);
  if (!curve.model) {
    update();
    return true;
  }
  if (curve.x.empty()) {
    curve.model.reset();
    return false;
  }
  curve.ordinateName = QString::fromStdString(ShortName(ordinate.toStdString()));
  curve.abscissaName = QString::fromStdString(ShortName(abscissa.toStdString()));
  curve.model->SetActive(true);
  UpdateModelPlots();
  curve.model->Fit(curve.x, curve.y);
  update();
  return true;
}

void GraphWidget::UpdateModelPlots() {
  const PlotArea area = Plot();
  for (Curve& curve : curves_) {
    if (!curve.model) continue;
    curve.model->SetPlotArea(area);
    curve.model->SetPlotWindow(window_);
  }
}

std::optional<QString> GraphWidget::ModelHintAt(QPoint pixel) {
  const PlotMapping mapping = Mapping();
  for (Curve& curve : curves_) {
    if (!curve.model) continue;
    const double y = curve.model->Value(mapping.XToData(pixel.x()));
    if (std::fabs(mapping.YToPixel(y) - pixel.y()) > kModelHitPixels) continue;
    return QString::fromStdString(curve.model->HintText(curve.ordinateName.toStdString(),
                                                        curve.abscissaName.toStdString()))
        .replace('\r', '\n')
        .trimmed();
  }
  return std::nullopt;
}

QColor GraphWidget::BandColour() const {
  return layout_.band.isValid() ? layout_.band : palette().color(QPalette::Button);
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Render(painter, false);
}

void GraphWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateModelPlots();
}

QImage GraphWidget::Picture(QSize size) {
  const QSize kept = this->size();
  resize(size);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  Render(painter, true);
  painter.end();
  resize(kept);
  return image;
}

void GraphWidget::Render(QPainter& painter, bool forOutput) {
  painter.setRenderHint(QPainter::Antialiasing);
  PaintBackground(painter);
  const PlotArea a = Plot();
  const QRect plot(a.left, a.top, a.width, a.height);
  if (PictureShown()) {
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(pictureToData_ * DataToPixel(), true);
    painter.drawImage(QPointF(0, 0), picture_);
    painter.restore();
  }
  if (layout_.axes) {
    PaintAxisX(painter);
    PaintAxisY(painter);
  }
  painter.save();
  painter.setClipRect(plot);
  if (originShown_) PaintOrigin(painter);
  for (const Curve& curve : curves_) PaintCurve(painter, curve);
  for (const Curve& curve : curves_) PaintVectors(painter, curve);
  for (Curve& curve : curves_)
    if (curve.model) PaintModel(painter, curve);
  PaintElements(painter);
  if (rubber_) {
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(*rubber_);
  }
  PaintReticle(painter);
  painter.restore();
  PaintScales(painter);
  PaintValueBox(painter);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot.adjusted(0, 0, -1, -1));
  if (!forOutput) {
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(Qt::gray);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
  }
}

void GraphWidget::PaintBackground(QPainter& painter) const {
  painter.fillRect(rect(), BandColour());
  const PlotArea a = Plot();
  QLinearGradient gradient(a.left, a.top, a.left, a.top + a.height);
  gradient.setColorAt(0, layout_.begin);
  gradient.setColorAt(1, layout_.end);
  painter.fillRect(QRect(a.left, a.top, a.width, a.height), gradient);
}

void GraphWidget::PaintAxisX(QPainter& painter) const {
  const PlotArea a = Plot();
  const PlotMapping mapping = Mapping();
  double step = 0;
  const auto values = AxisGraduations(window_.xMin, window_.xMax, &step);
  const LabelFormat format = AxisLabelFormat(window_.xMin, window_.xMax);
  const double bottom = a.top + a.height;
  const double pixelStep = a.width * step / (window_.xMax - window_.xMin);
  painter.setFont(SizedFont(10));
  const QFontMetrics metrics(painter.font());
  for (double value : values) {
    const double px = mapping.XToPixel(value);
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(px, bottom), QPointF(px, bottom - kTickLength));
    for (int s = 1; s < kSubdivisions; ++s) {
      const double sx = px + s * pixelStep / kSubdivisions;
      if (sx < a.left + a.width) painter.drawLine(QPointF(sx, bottom), QPointF(sx, bottom - 3));
    }
    painter.setPen(kLabelColour);
    const QString label = QString::fromStdString(AxisLabelText(value, format));
    painter.drawText(QRectF(px - 60, bottom + 4, 120, metrics.height()), Qt::AlignHCenter, label);
  }
  PaintTitle(painter, titleX_, QPointF(a.left + a.width / 2.0, bottom + 8 + metrics.height()),
             a.width);
}

void GraphWidget::PaintAxisY(QPainter& painter) const {
  const PlotArea a = Plot();
  const PlotMapping mapping = Mapping();
  double step = 0;
  const auto values = AxisGraduations(window_.yMin, window_.yMax, &step);
  const LabelFormat format = AxisLabelFormat(window_.yMin, window_.yMax);
  const double pixelStep = a.height * step / (window_.yMax - window_.yMin);
  painter.setFont(SizedFont(10));
  const QFontMetrics metrics(painter.font());
  for (double value : values) {
    const double py = mapping.YToPixel(value);
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(a.left, py), QPointF(a.left + kTickLength, py));
    for (int s = 1; s < kSubdivisions; ++s) {
      const double sy = py - s * pixelStep / kSubdivisions;
      if (sy > a.top) painter.drawLine(QPointF(a.left, sy), QPointF(a.left + 3, sy));
    }
    if (py - metrics.height() / 2.0 < 0) continue;
    painter.setPen(kLabelColour);
    const QString label = QString::fromStdString(AxisLabelText(value, format));
    painter.drawText(QRectF(0, py - metrics.height() / 2.0, a.left - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label);
  }
  painter.save();
  painter.translate(kTitleFromEdge, a.top + a.height / 2.0);
  painter.rotate(-90);
  PaintTitle(painter, titleY_, QPointF(0, 0), a.height);
  painter.restore();
}

void GraphWidget::PaintCurve(QPainter& painter, const Curve& curve) const {
  const PlotMapping mapping = Mapping();
  const std::size_t n = std::min(curve.x.size(), curve.y.size());
  std::vector<QPointF> pixels;
  pixels.reserve(n);
  for (std::size_t i = 0; i < n; ++i)
    if (std::isfinite(curve.x[i]) && std::isfinite(curve.y[i]))
      pixels.emplace_back(mapping.XToPixel(curve.x[i]), mapping.YToPixel(curve.y[i]));
  painter.setPen(QPen(curve.colour, 1));
  if (curve.showPolyline && pixels.size() > 1) {
    const std::vector<QPointF> line = VisiblyDistinct(pixels, kUnseenPolylineStep);
    painter.drawPolyline(line.data(), int(line.size()));
  }
  if (curve.showSpline && pixels.size() > 2) {
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(SplineThrough(pixels));
  }
  if (curve.showPoints) PaintSymbols(painter, pixels, curve, pointSize_);
  if (curve.showNumbers) {
    painter.setFont(SizedFont(8));
    const QFontMetrics metrics(painter.font());
    const double radius = kSymbolRadii[pointSize_];
    for (std::size_t i = 0; i < pixels.size() && i < curve.numbers.size(); ++i) {
      const QString number = QString::number(curve.numbers[i]);
      const QPointF offset =
          numberPlace_ == GraphNumberPlace::Right
              ? QPointF(radius + 3, (metrics.ascent() - metrics.descent()) / 2.0)
              : QPointF(-metrics.horizontalAdvance(number) / 2.0, radius + 2 + metrics.ascent());
      painter.drawText(pixels[i] + offset, number);
    }
  }
}

// Arrows from the points, in the curve's colour, scaled by the vector scale on both axes alike.
void GraphWidget::PaintVectors(QPainter& painter, const Curve& curve) const {
  const std::size_t n =
      std::min({curve.x.size(), curve.y.size(), curve.vx.size(), curve.vy.size()});
  if (n == 0) return;
  const PlotMapping mapping = Mapping();
  std::vector<QLineF> lines;
  lines.reserve(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    const double length = vectorScale_.PixelLength(std::hypot(curve.vx[i], curve.vy[i]));
    if (!std::isfinite(curve.x[i]) || !std::isfinite(curve.y[i]) || !(length > 0.5)) continue;
    const QPointF from(mapping.XToPixel(curve.x[i]), mapping.YToPixel(curve.y[i]));
    AddArrow(lines, from,
             from + QPointF(curve.vx[i], -curve.vy[i]) *
                        (length / std::hypot(curve.vx[i], curve.vy[i])));
  }
  painter.setPen(QPen(curve.colour, 1.5));
  painter.drawLines(lines.data(), int(lines.size()));
}

// The distance bar near the top right corner and the vector arrow near the top left one.
void GraphWidget::PaintScales(QPainter& painter) const {
  painter.setFont(SizedFont(8));
  const QFontMetrics metrics(painter.font());
  painter.setPen(QPen(Qt::black, 1.5));
  const int pixels = vectorScale_.pixels;
  if (distanceScaleShown_) {
    const double right = width() - 20.0, left = right - pixels;
    painter.drawLine(QPointF(left, 20), QPointF(right, 20));
    painter.drawLine(QPointF(left, 16), QPointF(left, 24));
    painter.drawLine(QPointF(right, 16), QPointF(right, 24));
    const QString text = QString::fromStdString(GeneralText(ScaleBarLength(Mapping(), pixels), 3)) +
                         " " + QTxt(txt::UnitMetre);
    painter.drawText(QRectF(left - 40, 18 - metrics.height(), pixels + 80, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignBottom, text);
  }
  if (vectorScaleShown_) {
    std::vector<QLineF> lines;
    AddArrow(lines, QPointF(20, 20), QPointF(20 + pixels, 20));
    painter.drawLines(lines.data(), int(lines.size()));
    const QString text =
        QString::fromStdString(GeneralText(vectorScale_.value, 4)) + " " + vectorUnit_;
    painter.drawText(QPointF(20, 24 + metrics.ascent()), text);
  }
}

void GraphWidget::PaintModel(QPainter& painter, Curve& curve) const {
  const PlotArea a = Plot();
  const PlotMapping mapping = Mapping();
  QPainterPath path;
  bool drawing = false;
  for (int px = a.left; px <= a.left + a.width; ++px) {
    const double y = curve.model->Value(mapping.XToData(px));
    const double py = mapping.YToPixel(y);
    // Far outside the plot the clip does the work; undefined values break the line.
    if (!std::isfinite(py) || std::fabs(py) > 1e6) {
      drawing = false;
      continue;
    }
    if (drawing)
      path.lineTo(px, py);
    else
      path.moveTo(px, py);
    drawing = true;
  }
  painter.setPen(QPen(QColourOf(curve.model->colour), 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// Two short arrows along the axes from the origin, and its letter.
void GraphWidget::PaintOrigin(QPainter& painter) const {
  const PlotMapping mapping = Mapping();
  const QPointF origin(mapping.XToPixel(0), mapping.YToPixel(0));
  constexpr double kArm = 24;
  std::vector<QLineF> lines;
  AddArrow(lines, origin, origin + QPointF(kArm, 0));
  AddArrow(lines, origin, origin - QPointF(0, kArm));
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawLines(lines.data(), int(lines.size()));
  painter.setFont(SizedFont(9));
  const QFontMetrics metrics(painter.font());
  painter.drawText(origin + QPointF(-metrics.horizontalAdvance("O") - 3, metrics.ascent() + 2),
                   "O");
}

void GraphWidget::PaintReticle(QPainter& painter) const {
  if (tool_ != Tool::Reticle || !reticle_) return;
  const PlotArea a = Plot();
  painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
  painter.drawLine(QPointF(lastMouse_.x(), a.top), QPointF(lastMouse_.x(), a.top + a.height));
  painter.drawLine(QPointF(a.left, lastMouse_.y()), QPointF(a.left + a.width, lastMouse_.y()));
}

void GraphWidget::ZoomClick(QPoint at, bool in, bool slow) {
  const ZoomAxes axes = orthonormal_ ? ZoomAxes{true, true} : zoomAxes_;
  const PlotMapping mapping = Mapping();
  const double px = mapping.XToData(at.x());
  const double py = mapping.YToData(at.y());
  PlotWindow window = window_;
  if (axes.x) {
    const double to = NextZoomFactor(factorX_, in, slow);
    window = ZoomAbout(window, px, py, factorX_, to, {true, false});
    factorX_ = to;
  }
  if (axes.y) {
    const double to = NextZoomFactor(factorY_, in, slow);
    window = ZoomAbout(window, px, py, factorY_, to, {false, true});
    factorY_ = to;
  }
  SetWindowKeepZoom(window);
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
  pressAt_ = event->position().toPoint();
  lastMouse_ = *pressAt_;
  pressButton_ = event->button();
  if (ElementPress(event) || ModifierPress(event)) return;
  if (tool_ == Tool::Pan) setCursor(Qt::ClosedHandCursor);
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const QPoint moved = at - lastMouse_;
  lastMouse_ = at;
  if (ElementMove(event) || ModifierMove(event)) return;
  if (tool_ == Tool::Reticle) {
    const PlotMapping mapping = Mapping();
    reticle_ = QPointF(mapping.XToData(at.x()), mapping.YToData(at.y()));
    emit reticleMoved(reticle_->x(), reticle_->y());
    update();
  } else if (tool_ == Tool::Pan && pressAt_) {
    SetWindowKeepZoom(PanWindow(window_, moved.x(), moved.y(), width(), height()));
  } else if (tool_ == Tool::Zoom && pressAt_ && pressButton_ == Qt::LeftButton) {
    rubber_ = QRect(*pressAt_, at).normalized();
    update();
  } else if (tool_ == Tool::ModelShown) {
    ShowHint(ModelHintAt(at).value_or(QString()), at);
    setCursor(hintText_.isEmpty() ? Qt::ArrowCursor : Qt::WhatsThisCursor);
  }
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  grab_.reset();
  if (ElementRelease(event)) {
    pressAt_.reset();
    return;
  }
  if (tool_ == Tool::Pan) setCursor(Qt::OpenHandCursor);
  if (tool_ == Tool::Zoom && pressAt_) {
    const QRect dragged = QRect(*pressAt_, at).normalized();
    rubber_.reset();
    const RectangleZoom zoom =
        ZoomToRectangle(Mapping(), factorX_, factorY_, dragged.left(), dragged.top(),
                        dragged.right(), dragged.bottom(), zoomAxes_, orthonormal_);
    if (zoom.changed && event->button() == Qt::LeftButton) {
      factorX_ = zoom.factorX;
      factorY_ = zoom.factorY;
      SetWindowKeepZoom(zoom.window);
    } else if ((at - *pressAt_).manhattanLength() < 4) {
      ZoomClick(at, event->button() == Qt::LeftButton,
                event->modifiers().testFlag(Qt::ControlModifier));
    }
    update();
  }
  pressAt_.reset();
}

}  // namespace kinovia
