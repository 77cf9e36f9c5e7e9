#include "session/UnitHistObject.h"

#include <cmath>
#include <cstdlib>

#include "results/UnitMathUtils.h"

namespace kinovia {

namespace {
// Identifiers are process-wide so that an undo entry finds its object among every store.
int gLastIdentifier = 0;
}  // namespace

THistObject::THistObject(TKind kind) : identifier_(++gLastIdentifier), kind_(kind) {}

void THistObject::Assign(const THistObject& source) {
  identifier_ = source.identifier_;
  kind_ = source.kind_;
  listIndex_ = source.listIndex_;
}

bool THistObject::Equals(const THistObject&) const { return true; }

bool NearPixelLine(TPointI p, TPointI a, TPointI b, int half) {
  const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  if (steps == 0) return NearPoint(p, a, half);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const TPointI q{static_cast<int>(std::lround(a.x + t * (b.x - a.x))),
                    static_cast<int>(std::lround(a.y + t * (b.y - a.y)))};
    if (NearPoint(p, q, half)) return true;
  }
  return false;
}

bool SamePosition(TPointD a, TPointD b) { return IsZero(a.x - b.x) && IsZero(a.y - b.y); }

}  // namespace kinovia
