#include "gui/results/PageCurves.h"

#include <cmath>

namespace kinovia {
namespace {

void AddSeries(PageCurves& page, const std::vector<GraphPoint>& points, int object,
               const ObjectColour& colour) {
  Curve curve;
  curve.x.reserve(points.size());
  curve.y.reserve(points.size());
  curve.numbers.reserve(points.size());
  for (const GraphPoint& p : points) {
    curve.x.push_back(p.a);
    curve.y.push_back(p.b);
    curve.numbers.push_back(p.number);
    WidenBounds(page.bounds, p.a, p.b);
  }
  curve.colour = colour(object);
  curve.symbol = object;
  page.curves.push_back(std::move(curve));
}

}  // namespace

PageCurves TimeCurves(const FrameResults& results, QuantityKind kind,
                      const std::vector<int>& objects, bool numberFromZero,
                      const ObjectColour& colour) {
  PageCurves page;
  for (int o : objects)
    AddSeries(
        page,
        results.SeriesForGraph(Orientation::User, o, QuantityKind::Time, kind, numberFromZero), o,
        colour);
  return page;
}

PageCurves TrajectoryCurves(const FrameResults& results, int reference,
                            const std::vector<int>& objects, bool numberFromZero,
                            const ObjectColour& colour, Orientation orientation) {
  PageCurves page;
  for (int o : objects) {
    if (o == reference) continue;
    AddSeries(page, results.RelativeTrajectory(o, reference, numberFromZero, orientation), o,
              colour);
    page.curves.back().showNumbers = true;
  }
  return page;
}

VectorCurves TrajectoryVectors(const FrameResults& results, VectorKind kind,
                               const std::vector<int>& objects, bool numberFromZero,
                               const ObjectColour& colour, Orientation orientation) {
  const bool speed = kind == VectorKind::Speed;
  VectorCurves page;
  for (int o : objects) {
    AddSeries(
        page,
        results.SeriesForGraph(orientation, o, QuantityKind::X, QuantityKind::Y, numberFromZero), o,
        colour);
    Curve& curve = page.curves.back();
    curve.showPolyline = false;
    for (const GraphPoint& p :
         results.SeriesForGraph(orientation, o, speed ? QuantityKind::Vx : QuantityKind::Ax,
                                speed ? QuantityKind::Vy : QuantityKind::Ay, numberFromZero)) {
      curve.vx.push_back(p.a);
      curve.vy.push_back(p.b);
      const double magnitude = std::hypot(p.a, p.b);
      if (std::isfinite(magnitude)) page.largest = std::max(page.largest, magnitude);
    }
  }
  return page;
}

}  // namespace kinovia
