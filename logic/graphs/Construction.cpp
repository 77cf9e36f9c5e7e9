#include "logic/graphs/Construction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

constexpr std::size_t kHistoryCapacity = 1000;
constexpr int kOutlineSteps = 72;  // segments of a whole ellipse or of an arc
constexpr int kSplineSteps = 16;   // segments between two control points of a spline
constexpr double kDegrees = 180 / std::numbers::pi;

double Turn(double degrees) { return std::fmod(std::fmod(degrees, 360) + 360, 360); }

DataPoint OnCircle(const CircleShape& circle, double degrees) {
  return {circle.centre.x + circle.radius * std::cos(degrees / kDegrees),
          circle.centre.y + circle.radius * std::sin(degrees / kDegrees)};
}

std::vector<DataPoint> EllipseOutline(DataPoint corner, DataPoint opposite) {
  const auto [a, b] = EllipseSemiAxes(corner, opposite);
  const DataPoint centre{(corner.x + opposite.x) / 2, (corner.y + opposite.y) / 2};
  std::vector<DataPoint> outline;
  for (int i = 0; i <= kOutlineSteps; ++i) {
    const double t = 2 * std::numbers::pi * i / kOutlineSteps;
    outline.push_back({centre.x + a * std::cos(t), centre.y + b * std::sin(t)});
  }
  return outline;
}

std::vector<DataPoint> ArcOutline(const std::vector<DataPoint>& p) {
  const auto arc = ArcThrough(p[0], p[1], p[2]);
  if (!arc) return p;
  std::vector<DataPoint> outline;
  for (int i = 0; i <= kOutlineSteps; ++i)
    outline.push_back(
        OnCircle(arc->circle, arc->startDegrees + arc->sweepDegrees * i / kOutlineSteps));
  return outline;
}

// Catmull-Rom through the control points, the end points repeated so the curve reaches them.
std::vector<DataPoint> SplineOutline(const std::vector<DataPoint>& p) {
  if (p.size() < 2) return p;
  std::vector<DataPoint> outline{p.front()};
  const auto at = [&p](std::ptrdiff_t i) {
    return p[std::size_t(std::clamp<std::ptrdiff_t>(i, 0, std::ptrdiff_t(p.size()) - 1))];
  };
  for (std::ptrdiff_t i = 0; i + 1 < std::ptrdiff_t(p.size()); ++i) {
    const DataPoint p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    for (int step = 1; step <= kSplineSteps; ++step) {
      const double t = double(step) / kSplineSteps, t2 = t * t, t3 = t2 * t;
      const auto blend = [&](double v0, double v1, double v2, double v3) {
        return 0.5 * (2 * v1 + (v2 - v0) * t + (2 * v0 - 5 * v1 + 4 * v2 - v3) * t2 +
                      (3 * v1 - v0 - 3 * v2 + v3) * t3);
      };
      outline.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
    }
  }
  return outline;
}

struct PixelPoint {
  double x, y;
};

PixelPoint ToPixel(const PlotMapping& mapping, DataPoint p) {
  return {mapping.XToPixel(p.x), mapping.YToPixel(p.y)};
}

double PixelSegmentDistance(PixelPoint p, PixelPoint a, PixelPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TxtId ActionWord(ElementAction action) {
  switch (action) {
    case ElementAction::Colour:
      return txt::GraphActionColour;
    case ElementAction::Bend:
      return txt::GraphActionBend;
    case ElementAction::Create:
      return txt::GraphActionCreate;
    case ElementAction::Deform:
      return txt::GraphActionDeform;
    case ElementAction::Move:
      return txt::GraphActionMove;
    case ElementAction::Duplicate:
      return txt::GraphActionDuplicate;
    case ElementAction::Reverse:
      return txt::GraphActionReverse;
    case ElementAction::Modify:
      return txt::GraphActionModify;
    case ElementAction::Rotate:
      return txt::GraphActionRotate;
    case ElementAction::Delete:
      return txt::GraphActionDelete;
  }
  return txt::GraphActionModify;
}

std::optional<TxtId> ElementWord(ElementKind kind) {
  switch (kind) {
    case ElementKind::Angle:
      return txt::GraphElementAngle;
    case ElementKind::Arc:
      return txt::GraphElementArc;
    case ElementKind::Circle:
      return txt::GraphElementCircle;
    case ElementKind::Ellipse:
      return txt::GraphElementEllipse;
    case ElementKind::Segment:
      return txt::GraphElementSegment;
    case ElementKind::Spline:
      return txt::GraphElementSpline;
    case ElementKind::Vector:
      return txt::GraphElementVector;
    default:
      return std::nullopt;
  }
}

}  // namespace

int PointsNeeded(ElementKind kind) {
  switch (kind) {
    case ElementKind::Segment:
    case ElementKind::Vector:
    case ElementKind::Ellipse:
      return 2;
    case ElementKind::Angle:
    case ElementKind::Circle:
    case ElementKind::Arc:
      return 3;
    case ElementKind::Spline:
      return kSplineMinPoints;
    default:
      return 0;
  }
}

double Distance(DataPoint a, DataPoint b) { return std::hypot(b.x - a.x, b.y - a.y); }

double AngleDegrees(DataPoint a, DataPoint vertex, DataPoint b) {
  const double ax = a.x - vertex.x, ay = a.y - vertex.y;
  const double bx = b.x - vertex.x, by = b.y - vertex.y;
  if (std::hypot(ax, ay) == 0 || std::hypot(bx, by) == 0) return std::nan("");
  // atan2 of the cross and dot products keeps its precision near 0 and 180 degrees.
  return std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by) * 180 / std::numbers::pi;
}

std::optional<CircleShape> CircleThrough(DataPoint a, DataPoint b, DataPoint c) {
  const double bx = b.x - a.x, by = b.y - a.y;
  const double cx = c.x - a.x, cy = c.y - a.y;
  const double d = 2 * (bx * cy - by * cx);
  const double scale = std::max({std::hypot(bx, by), std::hypot(cx, cy), 1e-300});
  // Aligned points have a centre at infinity: refuse them relative to the points' spread.
  if (!(std::fabs(d) > 1e-12 * scale * scale)) return std::nullopt;
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  const double ux = (cy * b2 - by * c2) / d;
  const double uy = (bx * c2 - cx * b2) / d;
  return CircleShape{{a.x + ux, a.y + uy}, std::hypot(ux, uy)};
}

std::optional<ArcShape> ArcThrough(DataPoint start, DataPoint on, DataPoint end) {
  const auto circle = CircleThrough(start, on, end);
  if (!circle) return std::nullopt;
  const auto heading = [&](DataPoint p) {
    return std::atan2(p.y - circle->centre.y, p.x - circle->centre.x) * kDegrees;
  };
  const double from = heading(start);
  const double counterclockwise = Turn(heading(end) - from);
  // The arc turns the way that meets the middle point before the end.
  const bool viaMiddle = Turn(heading(on) - from) < counterclockwise;
  return ArcShape{*circle, from, viaMiddle ? counterclockwise : counterclockwise - 360};
}

std::pair<double, double> EllipseSemiAxes(DataPoint corner, DataPoint opposite) {
  return {std::fabs(opposite.x - corner.x) / 2, std::fabs(opposite.y - corner.y) / 2};
}

std::vector<DataPoint> ElementOutline(const Element& element) {
  const auto& p = element.points;
  if (int(p.size()) < PointsNeeded(element.kind)) return p;
  switch (element.kind) {
    case ElementKind::Ellipse:
      return EllipseOutline(p[0], p[1]);
    case ElementKind::Arc:
      return ArcOutline(p);
    case ElementKind::Spline:
      return SplineOutline(p);
    default:
      return p;
  }
}

std::optional<double> ElementMeasure(const Element& element) {
  const auto& p = element.points;
  if (int(p.size()) < PointsNeeded(element.kind) || p.empty()) return std::nullopt;
  switch (element.kind) {
    case ElementKind::Segment:
    case ElementKind::Vector:
      return Distance(p[0], p[1]);
    case ElementKind::Angle: {
      const double angle = AngleDegrees(p[0], p[1], p[2]);
      if (std::isnan(angle)) return std::nullopt;
      return angle;
    }
    case ElementKind::Circle:
    case ElementKind::Arc:
      if (const auto circle = CircleThrough(p[0], p[1], p[2])) return circle->radius;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

double PixelDistance(const Element& element, const PlotMapping& mapping, double px, double py) {
  const PixelPoint at{px, py};
  std::vector<PixelPoint> pixels;
  for (const DataPoint& p : ElementOutline(element)) pixels.push_back(ToPixel(mapping, p));
  if (pixels.empty()) return HUGE_VAL;
  if (element.kind == ElementKind::Circle && pixels.size() >= 3) {
    if (const auto circle =
            CircleThrough(element.points[0], element.points[1], element.points[2])) {
      const PixelPoint centre = ToPixel(mapping, circle->centre);
      const double radius =
          std::fabs(mapping.XToPixel(circle->centre.x + circle->radius) - centre.x);
      return std::fabs(std::hypot(px - centre.x, py - centre.y) - radius);
    }
  }
  // Segments, vectors, angles (two arms), aligned circles and the outlines of the curved kinds.
  double best = std::hypot(px - pixels[0].x, py - pixels[0].y);
  for (std::size_t i = 1; i < pixels.size(); ++i)
    best = std::min(best, PixelSegmentDistance(at, pixels[i - 1], pixels[i]));
  return best;
}

int HitElement(const std::vector<Element>& elements, const PlotMapping& mapping, double px,
               double py, double tolerance) {
  int hit = -1;
  double best = tolerance;
  for (int i = int(elements.size()) - 1; i >= 0; --i) {
    const double d = PixelDistance(elements[std::size_t(i)], mapping, px, py);
    if (d < best || (hit < 0 && d <= best)) {
      best = d;
      hit = i;
    }
  }
  return hit;
}

void Construction::Record(ElementAction action, ElementKind kind) {
  if (history_.size() >= kHistoryCapacity) history_.erase(history_.begin());
  history_.push_back({action, kind, elements_});
}

void Construction::Add(Element element) {
  Record(ElementAction::Create, element.kind);
  elements_.push_back(std::move(element));
}

void Construction::Delete(int index) {
  if (!Valid(index)) return;
  Record(ElementAction::Delete, elements_[std::size_t(index)].kind);
  elements_.erase(elements_.begin() + index);
}

void Construction::BeginMove(int index) {
  if (Valid(index)) Record(ElementAction::Move, elements_[std::size_t(index)].kind);
}

void Construction::MoveBy(int index, double dx, double dy) {
  if (!Valid(index)) return;
  for (DataPoint& p : elements_[std::size_t(index)].points) {
    p.x += dx;
    p.y += dy;
  }
}

void Construction::Duplicate(const std::vector<int>& indices, double dx, double dy) {
  std::vector<Element> copies;
  for (int index : indices)
    if (Valid(index)) copies.push_back(elements_[std::size_t(index)]);
  if (copies.empty()) return;
  Record(ElementAction::Duplicate, copies.front().kind);
  for (Element& copy : copies) {
    for (DataPoint& p : copy.points) {
      p.x += dx;
      p.y += dy;
    }
    elements_.push_back(std::move(copy));
  }
}

bool Construction::Undo() {
  if (history_.empty()) return false;
  elements_ = std::move(history_.back().before);
  history_.pop_back();
  return true;
}

std::optional<std::pair<ElementAction, ElementKind>> Construction::LatestChange() const {
  if (history_.empty()) return std::nullopt;
  return std::pair{history_.back().action, history_.back().kind};
}

void Construction::Clear() {
  elements_.clear();
  history_.clear();
}

std::string ConstructionUndoCaption(const Construction& construction) {
  std::string caption = Txt(txt::GraphUndo);
  const auto change = construction.LatestChange();
  if (!change) return caption;
  caption += " " + Txt(ActionWord(change->first));
  if (const auto word = ElementWord(change->second)) caption += " " + Txt(*word);
  return caption;
}

}  // namespace kinovia
