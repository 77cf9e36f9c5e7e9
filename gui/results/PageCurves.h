#pragma once
// The curves of the graph pages built from the results, apart from any window, so that the
// window, kinovia-cli and the benchmarks build them the same way.
#include <QColor>
#include <functional>
#include <vector>

#include "gui/graphs/Curve.h"
#include "logic/graphs/GraphFraming.h"
#include "logic/results/ResultsComputation.h"

namespace kinovia {

struct PageCurves {
  std::vector<Curve> curves;
  PlotWindow bounds = EmptyBounds();  // the data extremes of every curve
};

using ObjectColour = std::function<QColor(int object)>;

// One curve per object of `kind` against time.
PageCurves TimeCurves(const FrameResults& results, QuantityKind kind,
                      const std::vector<int>& objects, bool numberFromZero,
                      const ObjectColour& colour);

// One trajectory per object in the frame of `reference` (-1: the camera's); the reference object
// itself is left out.
PageCurves TrajectoryCurves(const FrameResults& results, int reference,
                            const std::vector<int>& objects, bool numberFromZero,
                            const ObjectColour& colour);

}  // namespace kinovia
