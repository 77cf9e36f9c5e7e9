#include "logic/session/RecordedObject.h"

#include <cmath>
#include <cstdlib>

#include "core/Numbers.h"

namespace kinovia {

namespace {
// Identifiers are process-wide so that an undo entry finds its object among every store.
int gLastIdentifier = 0;
}  // namespace

RecordedObject::RecordedObject(ObjectKind kind) : identifier_(++gLastIdentifier), kind_(kind) {}

void RecordedObject::Assign(const RecordedObject& source) {
  identifier_ = source.identifier_;
  kind_ = source.kind_;
  listIndex_ = source.listIndex_;
}

bool RecordedObject::Equals(const RecordedObject&) const { return true; }

bool NearPixelLine(PointI p, PointI a, PointI b, int half) {
  const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  if (steps == 0) return NearPoint(p, a, half);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const PointI q{static_cast<int>(std::lround(a.x + t * (b.x - a.x))),
                   static_cast<int>(std::lround(a.y + t * (b.y - a.y)))};
    if (NearPoint(p, q, half)) return true;
  }
  return false;
}

bool SamePosition(PointD a, PointD b) { return IsZero(a.x - b.x) && IsZero(a.y - b.y); }

}  // namespace kinovia
