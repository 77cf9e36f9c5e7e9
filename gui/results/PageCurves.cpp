#include "gui/results/PageCurves.h"

#include <cmath>
#include <limits>
#include <map>
#include <utility>

namespace kinovia {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

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

VectorCurves TrajectoryVectors(const FrameResults& results, VectorKind kind, int reference,
                               const std::vector<int>& objects, bool numberFromZero,
                               const ObjectColour& colour, Orientation orientation) {
  const bool speed = kind == VectorKind::Speed;
  const auto vectorsOf = [&](int object) {
    std::map<int, std::pair<double, double>> byNumber;
    for (const GraphPoint& p :
         results.SeriesForGraph(orientation, object, speed ? QuantityKind::Vx : QuantityKind::Ax,
                                speed ? QuantityKind::Vy : QuantityKind::Ay, numberFromZero))
      byNumber[p.number] = {p.a, p.b};
    return byNumber;
  };
  // A row without a vector, of its own or of the reference's, draws none.
  const auto at = [](const std::map<int, std::pair<double, double>>& vectors, int number) {
    const auto found = vectors.find(number);
    return found != vectors.end() ? found->second : std::pair{kNaN, kNaN};
  };
  const auto frameVectors =
      reference >= 0 ? vectorsOf(reference) : std::map<int, std::pair<double, double>>{};
  VectorCurves page;
  for (int o : objects) {
    if (o == reference) continue;
    AddSeries(page, results.RelativeTrajectory(o, reference, numberFromZero, orientation), o,
              colour);
    Curve& curve = page.curves.back();
    curve.showPolyline = false;
    const auto own = vectorsOf(o);
    for (int number : curve.numbers) {
      auto [vx, vy] = at(own, number);
      if (reference >= 0) {
        const auto [fx, fy] = at(frameVectors, number);
        vx -= fx;
        vy -= fy;
      }
      curve.vx.push_back(vx);
      curve.vy.push_back(vy);
      const double magnitude = std::hypot(vx, vy);
      if (std::isfinite(magnitude)) page.largest = std::max(page.largest, magnitude);
    }
  }
  return page;
}

}  // namespace kinovia
