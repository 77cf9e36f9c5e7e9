#include "logic/results/ResultsChanges.h"

#include <algorithm>
#include <cmath>

namespace kinovia {
namespace {

constexpr QuantityKind kKinds[] = {
    QuantityKind::X,     QuantityKind::Y,      QuantityKind::Vx,          QuantityKind::Vy,
    QuantityKind::V,     QuantityKind::Ax,     QuantityKind::Ay,          QuantityKind::A,
    QuantityKind::Angle, QuantityKind::Radius, QuantityKind::AngularSpeed};

// Undefined values are equal to one another: a row that stays undefined did not change.
bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool RowDiffers(const FrameResults& before, const FrameResults& after, int row) {
  if (!Same(before.TimeAt(row), after.TimeAt(row))) return true;
  for (int o = 0; o < after.ObjectCount(); ++o) {
    if (before.MarkedTimeIndex(o, row) != after.MarkedTimeIndex(o, row)) return true;
    for (QuantityKind kind : kKinds)
      if (!Same(before.CellValue(Orientation::User, o, kind, row),
                after.CellValue(Orientation::User, o, kind, row)))
        return true;
  }
  return false;
}

}  // namespace

RowSpan ChangedRows(const FrameResults& before, const FrameResults& after) {
  const int rows = after.RowCount();
  if (before.RowCount() != rows || before.ObjectCount() != after.ObjectCount())
    return {0, std::max(before.RowCount(), rows) - 1};
  RowSpan span;
  for (int row = 0; row < rows; ++row) {
    if (!RowDiffers(before, after, row)) continue;
    if (span.first < 0) span.first = row;
    span.last = row;
  }
  return span;
}

}  // namespace kinovia
