// The montage as the work file stores it: visibility as runs, time shifts as change points.
#include <algorithm>
#include <cstdlib>

#include "logic/montage/Montage.h"

namespace kinovia {
namespace {

constexpr std::int32_t kMaxStoredFrameCount = 1'000'000;
// Far beyond any real correction, and small enough that frame + shift never overflows.
constexpr std::int32_t kMaxStoredShift = 1'000'000'000;

// True when the shifts of frames first..last (zero-based) lie on one straight line, so the two
// ends alone give back every frame between them.
bool OnStraightLine(const std::vector<std::int32_t>& shift, std::size_t first, std::size_t last) {
  const std::int64_t span = static_cast<std::int64_t>(last - first);
  const std::int64_t rise = std::int64_t{shift[last]} - shift[first];
  for (std::size_t f = first + 1; f < last; ++f) {
    if ((std::int64_t{shift[f]} - shift[first]) * span !=
        rise * static_cast<std::int64_t>(f - first)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<VisibilityRun> Montage::VisibilityRuns() const {
  std::vector<VisibilityRun> runs;
  for (std::size_t m = 0; m < visible_.size(); ++m) {
    if (m == 0 || visible_[m] != visible_[m - 1]) {
      runs.push_back({static_cast<std::int32_t>(m), visible_[m]});
    }
  }
  return runs;
}

// A stretch of consecutive change points keeps only its ends. Its inner shifts can be recovered
// only when they step evenly, so an uneven stretch is cut into even pieces instead of losing them.
std::vector<TimeShiftEntry> Montage::TimeShiftEntries() const {
  std::vector<std::size_t> changes;  // zero-based
  for (std::size_t f = 0; f < timeShift_.size(); ++f) {
    if (f == 0 || timeShift_[f] != timeShift_[f - 1]) changes.push_back(f);
  }
  std::vector<TimeShiftEntry> entries;
  auto entry = [&](std::size_t f, bool opensStretch) {
    const auto oneBased = static_cast<std::int32_t>(f + 1);
    entries.push_back({opensStretch ? -oneBased : oneBased, timeShift_[f]});
  };
  std::size_t i = 0;
  while (i < changes.size()) {
    std::size_t j = i;
    while (j + 1 < changes.size() && changes[j + 1] == changes[j] + 1 &&
           OnStraightLine(timeShift_, changes[i], changes[j + 1])) {
      ++j;
    }
    if (j == i) {
      entry(changes[i], false);
    } else {
      entry(changes[i], true);
      entry(changes[j], false);
    }
    i = j + 1;
  }
  return entries;
}

namespace {

bool RestoreVisibility(std::vector<bool>& visible, const std::vector<VisibilityRun>& runs) {
  if (runs.empty()) return true;
  const auto n = static_cast<std::int64_t>(visible.size());
  if (runs.front().start != 0) return false;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const std::int64_t end = k + 1 < runs.size() ? runs[k + 1].start : n;
    if (end <= runs[k].start || end > n) return false;
    std::fill(visible.begin() + runs[k].start, visible.begin() + end, runs[k].visible);
  }
  return true;
}

// Change points as (zero-based frame, shift), increasing, with the stretches filled in.
bool ExpandEntries(const std::vector<TimeShiftEntry>& entries, std::int64_t n,
                   std::vector<std::pair<std::int64_t, std::int64_t>>& changes) {
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const TimeShiftEntry& e = entries[k];
    if (std::abs(std::int64_t{e.shift}) > kMaxStoredShift || e.frame == 0) return false;
    const std::int64_t first = std::abs(std::int64_t{e.frame}) - 1;
    const std::int64_t previous = changes.empty() ? -1 : changes.back().first;
    if (first <= previous || first >= n) return false;
    if (changes.empty() && first != 0) return false;
    if (e.frame > 0) {
      changes.emplace_back(first, e.shift);
      continue;
    }
    if (k + 1 == entries.size() || entries[k + 1].frame <= 0) return false;
    const TimeShiftEntry& close = entries[++k];
    const std::int64_t last = std::int64_t{close.frame} - 1;
    if (last <= first || last >= n || std::abs(std::int64_t{close.shift}) > kMaxStoredShift) {
      return false;
    }
    const std::int64_t rise = std::int64_t{close.shift} - e.shift;
    for (std::int64_t f = first; f <= last; ++f) {
      changes.emplace_back(f, e.shift + rise * (f - first) / (last - first));
    }
  }
  return true;
}

}  // namespace

bool Montage::Restore(std::int32_t frameCount, const std::vector<VisibilityRun>& runs,
                      const std::vector<TimeShiftEntry>& entries) {
  ResetMontage(0);
  if (frameCount < 0 || frameCount > kMaxStoredFrameCount) return false;
  std::vector<bool> visible(static_cast<std::size_t>(frameCount), true);
  std::vector<std::pair<std::int64_t, std::int64_t>> changes;
  if (!RestoreVisibility(visible, runs) || !ExpandEntries(entries, frameCount, changes) ||
      (frameCount > 0 && std::find(visible.begin(), visible.end(), true) == visible.end())) {
    ResetMontage(frameCount);
    return false;
  }
  visible_ = std::move(visible);
  timeShift_.assign(visible_.size(), 0);
  for (std::size_t k = 0; k < changes.size(); ++k) {
    const std::int64_t end = k + 1 < changes.size() ? changes[k + 1].first : frameCount;
    std::fill(timeShift_.begin() + changes[k].first, timeShift_.begin() + end,
              static_cast<std::int32_t>(changes[k].second));
  }
  RebuildMaps();
  return true;
}

}  // namespace kinovia
