#pragma once
// Which frames of the source clip take part in the work, and the time shifts that correct the
// timing when frames are missing from the recording.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/Message.h"

namespace kinovia {

// A run of frames sharing one visibility, as the work file stores it.
struct VisibilityRun {
  std::int32_t start = 0;  // zero-based source frame
  bool visible = true;
  bool operator==(const VisibilityRun&) const = default;
};

// One entry of the time-shift list of the work file: a one-based frame where the shift changes
// (negated when it opens a stretch of consecutive change points) and the shift of that frame.
struct TimeShiftEntry {
  std::int32_t frame = 1;
  std::int32_t shift = 0;
  bool operator==(const TimeShiftEntry&) const = default;
};

enum class Neighbour { Previous, Current, Next };

class Montage {
 public:
  // Called before a frame is hidden or shown, so the session drops the marks it holds.
  std::function<void(std::int32_t sourceFrame)> onDeleteMarks;
  // Called whenever a change makes the computed results out of date.
  std::function<void()> onResultsStale;

  void ResetMontage(std::int32_t frameCount);

  std::int32_t FrameCount() const { return static_cast<std::int32_t>(visible_.size()); }
  std::int32_t VisibleCount() const { return visibleCount_; }
  bool ShowInformation() const { return showInformation_; }
  void SetShowInformation(bool show) { showInformation_ = show; }

  bool Visible(std::int32_t m) const;            // true outside the clip
  std::int32_t TimeShift(std::int32_t m) const;  // 0 outside the clip
  std::int32_t FrameTimeIndex(std::int32_t m) const;
  std::int32_t SourceToVisible(std::int32_t m) const;  // -1 for a hidden frame or outside
  std::int32_t VisibleToSource(std::int32_t k) const;  // -1 outside the visible numbering

  // Hides or shows source frame m. Returns whether anything changed; `refusal` receives the
  // warning when the last visible frame would be hidden.
  bool SetFrameVisible(std::int32_t m, bool visible, Message* refusal = nullptr);

  // Moves the time of the visible frame `current` and of every later frame by d intervals;
  // refused when the frame would no longer come after the previous visible frame.
  bool ShiftFromCurrentFrame(std::int32_t current, std::int32_t d);

  // Time of the previous or next visible frame around `current`, or of `current` itself;
  // -1 when there is none.
  double NeighbourTime(Neighbour which, std::int32_t current, double interval) const;

  // Empty time slots between consecutive visible frames: the blank frames a recording inserts.
  std::int64_t MissingFrameCount() const;

  // Where the video goes when the montage mode is left on `current`: the frame itself when
  // visible, else the next visible frame after it, else the last one before it.
  std::int32_t FrameAfterMontageMode(std::int32_t current) const;

  std::vector<VisibilityRun> VisibilityRuns() const;
  std::vector<TimeShiftEntry> TimeShiftEntries() const;
  // Rebuilds the montage of a clip of `frameCount` frames from what a work file stored; false,
  // with the montage reset, when the records contradict each other or the clip.
  bool Restore(std::int32_t frameCount, const std::vector<VisibilityRun>& runs,
               const std::vector<TimeShiftEntry>& entries);

 private:
  bool Inside(std::int32_t m) const { return m >= 0 && m < FrameCount(); }
  void RebuildMaps();
  void NotifyStale() const;
  std::int32_t PreviousVisible(std::int32_t m) const;
  std::int32_t NextVisible(std::int32_t m) const;

  bool showInformation_ = true;
  std::vector<bool> visible_;
  std::vector<std::int32_t> sourceToVisible_;
  std::vector<std::int32_t> visibleToSource_;
  std::vector<std::int32_t> timeShift_;
  std::int32_t visibleCount_ = 0;
};

}  // namespace kinovia
