#include "logic/graphs/GraphFraming.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "core/Numbers.h"

namespace kinovia {
namespace {

constexpr double kTableTolerance = 1e-5;
constexpr int kMinimumRectangle = 9;

void FrameRange(double& min, double& max, AxisFraming rule, double margin) {
  if (IsZero(min) && IsZero(max)) {
    min = -1e-50;
    max = 1e-50;
  } else if (IsZero(max - min)) {
    const double widening = std::fabs(max * margin);
    min -= widening;
    max += widening;
  }
  if (rule.zeroVisible || rule.startAtZero) {
    if (min > 0)
      min = 0;
    else if (max < 0)
      max = 0;
  }
  const double width = max - min;
  min -= margin * width;
  max += margin * width;
  if (rule.startAtZero) min = 0;
}

bool Usable(double min, double max) { return !IsHuge(min) && !IsHuge(max) && min < max; }

void WidenAbout(double& min, double& max, double width) {
  const double centre = (min + max) / 2;
  min = centre - width / 2;
  max = centre + width / 2;
}

void AtLeast(double& min, double& max, double reference) {
  const double missing = reference / 4 - (max - min);
  if (missing <= 0) return;
  min -= missing / 2;
  max += missing / 2;
}

}  // namespace

PlotWindow EmptyBounds() { return {1e100, -1e100, 1e100, -1e100}; }

void WidenBounds(PlotWindow& bounds, double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return;
  bounds.xMin = std::min(bounds.xMin, x);
  bounds.xMax = std::max(bounds.xMax, x);
  bounds.yMin = std::min(bounds.yMin, y);
  bounds.yMax = std::max(bounds.yMax, y);
}

PlotWindow AutoWindow(const PlotWindow& bounds, AxisFraming x, AxisFraming y, double margin) {
  PlotWindow w = bounds;
  if (!(w.xMin <= w.xMax) || !(w.yMin <= w.yMax)) return {0, 100, 0, 100};
  FrameRange(w.yMin, w.yMax, y, margin);
  FrameRange(w.xMin, w.xMax, x, margin);
  if (!Usable(w.xMin, w.xMax) || !Usable(w.yMin, w.yMax)) return {0, 100, 0, 100};
  return w;
}

PlotWindow MakeOrthonormal(const PlotWindow& window, int height, int width) {
  if (width <= 0 || height <= 0) return window;
  PlotWindow w = window;
  const double dx = w.xMax - w.xMin;
  const double dy = w.yMax - w.yMin;
  if (double(width) * dy > double(height) * dx)
    WidenAbout(w.xMin, w.xMax, width * dy / height);
  else
    WidenAbout(w.yMin, w.yMax, height * dx / width);
  return w;
}

PlotWindow AtLeastQuarterOf(const PlotWindow& bounds, double width, double height) {
  PlotWindow w = bounds;
  if (!(w.xMin <= w.xMax) || !(w.yMin <= w.yMax)) return w;
  AtLeast(w.xMin, w.xMax, width);
  AtLeast(w.yMin, w.yMax, height);
  return w;
}

double PlotMapping::XToData(double px) const {
  return window.xMin + (px - area.left) / area.width * (window.xMax - window.xMin);
}

double PlotMapping::YToData(double py) const {
  return window.yMin + (area.height + area.top - py) / area.height * (window.yMax - window.yMin);
}

double PlotMapping::XToPixel(double x) const {
  return area.left + (x - window.xMin) / (window.xMax - window.xMin) * area.width;
}

double PlotMapping::YToPixel(double y) const {
  return area.top + area.height - (y - window.yMin) / (window.yMax - window.yMin) * area.height;
}

LabelFormat AxisLabelFormat(double min, double max) {
  const double m = std::max(std::fabs(max), std::fabs(min));
  if (m >= 10000 || m <= 0.1) return {true, 0};
  return {false, m >= 1000 ? 0 : m >= 100 ? 1 : m >= 10 ? 2 : 3};
}

std::string AxisLabelText(double value, LabelFormat format) {
  // to_chars ignores the C locale, which Qt sets from the environment.
  char buffer[64];
  const auto style = format.exponent ? std::chars_format::scientific : std::chars_format::fixed;
  const int digits = format.exponent ? 2 : format.decimals;
  std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, style, digits).ptr);
  if (format.exponent) {
    // The exponent keeps its sign and only the digits it needs: "2.00E+4", not "2.00e+04".
    const auto e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    text = text.substr(0, e) + (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
  } else if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
    text.erase(0, 1);  // a value that rounds to zero is not written "-0.000"
  }
  std::replace(text.begin(), text.end(), '.', DecimalSeparator());
  return text;
}

std::vector<double> AxisGraduations(double min, double max, double* step) {
  std::vector<double> values;
  if (!(max > min)) return values;
  const Graduation g = GraduateInterval(max, min);
  if (g.count <= 0 || !(g.step > 0)) return values;
  if (step) *step = g.step;
  for (int i = 0; i < g.count; ++i) {
    double value = g.first + i * g.step;
    if (value > g.last + g.step * 1e-9) break;
    // Sums of steps leave dust where the axis crosses zero.
    if (i > 0 && std::fabs(value) < g.step / 1048576.0) value = 0;
    values.push_back(value);
  }
  return values;
}

double NextZoomFactor(double factor, bool in, bool slow) {
  const auto begin = std::begin(kZoomFactors);
  const auto end = std::end(kZoomFactors);
  if (in) {
    // The table value at or just below the factor, and the one after it.
    auto upper = std::find_if(begin, end, [&](double f) { return f > factor + kTableTolerance; });
    if (upper == end) return kZoomMax;
    if (!slow) return *upper;
    const double lower = upper == begin ? *upper : *std::prev(upper);
    return std::min(factor + (*upper - lower) / 10, kZoomMax);
  }
  auto lower = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(begin),
                            [&](double f) { return f < factor - kTableTolerance; });
  if (lower == std::make_reverse_iterator(begin)) return kZoomMin;
  if (!slow) return *lower;
  const double upper = lower == std::make_reverse_iterator(end) ? *lower : *std::prev(lower);
  return std::max(factor - (upper - *lower) / 10, kZoomMin);
}

PlotWindow ZoomAbout(const PlotWindow& window, double px, double py, double from, double to,
                     ZoomAxes axes) {
  PlotWindow w = window;
  const double ratio = from / to;
  if (axes.x) {
    w.xMin = px + (window.xMin - px) * ratio;
    w.xMax = px + (window.xMax - px) * ratio;
  }
  if (axes.y) {
    w.yMin = py + (window.yMin - py) * ratio;
    w.yMax = py + (window.yMax - py) * ratio;
  }
  return w;
}

RectangleZoom ZoomToRectangle(const PlotMapping& mapping, double factorX, double factorY, int left,
                              int top, int right, int bottom, ZoomAxes axes, bool orthonormal) {
  RectangleZoom zoom{false, factorX, factorY, mapping.window};
  const int width = std::abs(right - left);
  const int height = std::abs(bottom - top);
  if (width <= kMinimumRectangle || height <= kMinimumRectangle) return zoom;
  double ratioX = double(mapping.area.width) / width;
  double ratioY = double(mapping.area.height) / height;
  if (orthonormal) {
    ratioX = ratioY = std::min(ratioX, ratioY);
    axes = {true, true};
  }
  const double cx = mapping.XToData((left + right) / 2.0);
  const double cy = mapping.YToData((top + bottom) / 2.0);
  const PlotWindow& old = mapping.window;
  if (axes.x) {
    zoom.factorX = std::clamp(factorX * ratioX, kZoomMin, kZoomMax);
    const double half = factorX / zoom.factorX * (old.xMax - old.xMin) / 2;
    zoom.window.xMin = cx - half;
    zoom.window.xMax = cx + half;
  }
  if (axes.y) {
    zoom.factorY = std::clamp(factorY * ratioY, kZoomMin, kZoomMax);
    const double half = factorY / zoom.factorY * (old.yMax - old.yMin) / 2;
    zoom.window.yMin = cy - half;
    zoom.window.yMax = cy + half;
  }
  zoom.changed = axes.x || axes.y;
  return zoom;
}

PlotWindow PanWindow(const PlotWindow& window, int dx, int dy, int controlWidth,
                     int controlHeight) {
  if (controlWidth <= 0 || controlHeight <= 0) return window;
  const double shiftX = (window.xMax - window.xMin) * dx / controlWidth;
  const double shiftY = (window.yMax - window.yMin) * dy / controlHeight;
  return {window.xMin - shiftX, window.xMax - shiftX, window.yMin + shiftY, window.yMax + shiftY};
}

}  // namespace kinovia
