#include "logic/montage/TimestampHoles.h"

#include <algorithm>
#include <cmath>

namespace kinovia {

TimestampHoles FindTimestampHoles(const std::vector<double>& times) {
  TimestampHoles holes;
  holes.missingBefore.assign(times.size(), 0);
  if (times.size() < 3) return holes;
  std::vector<double> gaps;
  for (std::size_t m = 1; m < times.size(); ++m) gaps.push_back(times[m] - times[m - 1]);
  std::vector<double> sorted = gaps;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  holes.interval = sorted[sorted.size() / 2];
  if (!(holes.interval > 0) || !std::isfinite(holes.interval)) return holes;
  for (std::size_t m = 1; m < times.size(); ++m) {
    const double pictures = std::round(gaps[m - 1] / holes.interval);
    // A hole wider than a clip could hold comes from a broken time, not from skipped pictures.
    if (!(pictures >= 2) || pictures > 1e6) continue;
    holes.missingBefore[m] = std::int32_t(pictures) - 1;
    holes.total += holes.missingBefore[m];
  }
  return holes;
}

void DeclareHoles(Montage& montage, const TimestampHoles& holes) {
  const auto n = std::min<std::size_t>(holes.missingBefore.size(), montage.FrameCount());
  for (std::size_t m = 0; m < n; ++m)
    if (holes.missingBefore[m] > 0 && montage.Visible(std::int32_t(m)))
      montage.ShiftFromCurrentFrame(std::int32_t(m), holes.missingBefore[m]);
}

}  // namespace kinovia
