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
// `orientation` chooses between the user's axes and the picture's, as in the video.
PageCurves TrajectoryCurves(const FrameResults& results, int reference,
                            const std::vector<int>& objects, bool numberFromZero,
                            const ObjectColour& colour, Orientation orientation);

// The vectors the vectors page draws on the trajectories.
enum class VectorKind { Speed = 0, Acceleration = 1 };

// One trajectory per object with its speed or acceleration vectors at the points, both seen from
// the frame of `reference` (-1: the camera's; the frames are in translation, so the reference's
// own vector is taken away); the reference object itself is left out. `largest` is the largest
// magnitude of those vectors, 0 when there is none.
struct VectorCurves : PageCurves {
  double largest = 0;
};
VectorCurves TrajectoryVectors(const FrameResults& results, VectorKind kind, int reference,
                               const std::vector<int>& objects, bool numberFromZero,
                               const ObjectColour& colour, Orientation orientation);

}  // namespace kinovia
