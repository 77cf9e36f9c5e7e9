#pragma once
// What changed between two computations of the results, so that a view shows again only that.
#include "logic/results/ResultsComputation.h"

namespace kinovia {

// The first and last rows whose times, marks or values differ; {0, last row of the larger} when
// the tables differ in shape, {-1, -1} when nothing changed.
struct RowSpan {
  int first = -1, last = -1;
  bool Empty() const { return first < 0; }
};
RowSpan ChangedRows(const FrameResults& before, const FrameResults& after);

}  // namespace kinovia
