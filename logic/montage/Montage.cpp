#include "logic/montage/Montage.h"

#include <algorithm>

#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
void Montage::ResetMontage(std::int32_t frameCount) {
  const auto n = static_cast<std::size_t>(std::max(frameCount, 0));
  visible_.assign(n, true);
  timeShift_.assign(n, 0);
  RebuildMaps();
}

bool Montage::Visible(std::int32_t m) const { return !Inside(m) || visible_[m]; }

std::int32_t Montage::TimeShift(std::int32_t m) const { return Inside(m) ? timeShift_[m] : 0; }

std::int32_t Montage::FrameTimeIndex(std::int32_t m) const { return m + TimeShift(m); }

std::int32_t Montage::SourceToVisible(std::int32_t m) const {
  return Inside(m) ? sourceToVisible_[m] : -1;
}

std::int32_t Montage::VisibleToSource(std::int32_t k) const {
  return k >= 0 && k < visibleCount_ ? visibleToSource_[k] : -1;
}

void Montage::RebuildMaps() {
  const std::size_t n = visible_.size();
  sourceToVisible_.assign(n, -1);
  visibleToSource_.assign(n, -1);
  visibleCount_ = 0;
  for (std::size_t m = 0; m < n; ++m) {
    if (!visible_[m]) continue;
    sourceToVisible_[m] = visibleCount_;
    visibleToSource_[visibleCount_++] = static_cast<std::int32_t>(m);
  }
}

void Montage::NotifyStale() const {
  if (onResultsStale) onResultsStale();
}

bool Montage::SetFrameVisible(std::int32_t m, bool visible, Message* refusal) {
  if (!Inside(m) || visible_[m] == visible) return false;
  if (!visible && visibleCount_ <= 1) {
    if (refusal) {
      *refusal = Message{MessageIcon::Warning, {txt::ButtonOk}, {}};
      refusal->Line(txt::MontageLastVisibleFrame);
    }
    return false;
  }
  if (onDeleteMarks) onDeleteMarks(m);
  visible_[m] = visible;
  RebuildMaps();
  const std::int32_t step = visible ? 1 : -1;
  for (std::size_t i = static_cast<std::size_t>(m) + 1; i < timeShift_.size(); ++i) {
    timeShift_[i] += step;
  }
  NotifyStale();
  return true;
}

std::int32_t Montage::PreviousVisible(std::int32_t m) const {
  for (std::int32_t i = std::min(m, FrameCount()) - 1; i >= 0; --i) {
    if (visible_[i]) return i;
  }
  return -1;
}

std::int32_t Montage::NextVisible(std::int32_t m) const {
  for (std::int32_t i = std::max(m + 1, 0); i < FrameCount(); ++i) {
    if (visible_[i]) return i;
  }
  return -1;
}

bool Montage::ShiftFromCurrentFrame(std::int32_t current, std::int32_t d) {
  if (!Inside(current) || !visible_[current]) return false;
  const std::int32_t p = PreviousVisible(current);
  const std::int64_t previousIndex = p < 0 ? -1 : FrameTimeIndex(p);
  if (previousIndex >= std::int64_t{FrameTimeIndex(current)} + d) return false;
  for (std::size_t i = static_cast<std::size_t>(current); i < timeShift_.size(); ++i) {
    timeShift_[i] += d;
  }
  NotifyStale();
  return true;
}

double Montage::NeighbourTime(Neighbour which, std::int32_t current, double interval) const {
  std::int32_t m = -1;
  switch (which) {
    case Neighbour::Previous:
      m = PreviousVisible(current);
      break;
    case Neighbour::Current:
      m = Inside(current) ? current : -1;
      break;
    case Neighbour::Next:
      m = NextVisible(current);
      break;
  }
  return m < 0 ? -1 : FrameTimeIndex(m) * interval;
}

std::int64_t Montage::MissingFrameCount() const {
  std::int64_t missing = 0;
  std::int64_t p = -1;
  for (std::int32_t k = 0; k < visibleCount_; ++k) {
    const std::int64_t t = FrameTimeIndex(visibleToSource_[k]);
    if (t - 2 >= p) missing += t - p - 1;
    p = t;
  }
  return missing;
}

std::int32_t Montage::FrameAfterMontageMode(std::int32_t current) const {
  if (!Inside(current) || visible_[current]) return current;
  const std::int32_t next = NextVisible(current);
  return next >= 0 ? next : PreviousVisible(current);
}

}  // namespace kinovia
