#pragma once
// The studio's contours: at most one object outline a frame, kept in the order they were drawn,
// which is the order the chronophotograph lays them down.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/Geometry.h"
#include "logic/tracking/Tracker.h"

namespace kinovia {

struct StudioContour {
  std::int32_t frame = 0;
  std::vector<PointD> outline;  // frame fractions
};

class StudioContours {
 public:
  // Replaces the frame's contour; the new one is the latest drawn.
  void Set(std::int32_t frame, std::vector<PointD> outline);
  bool Remove(std::int32_t frame);
  // The frame of the contour drawn last; nothing when there is none.
  std::optional<std::int32_t> LastFrame() const;
  // Removes every contour whose points all lie in the rectangle (frame fractions); how many.
  int RemoveInside(PointD corner1, PointD corner2);
  void Clear() { list_.clear(); }

  const std::vector<StudioContour>& List() const { return list_; }
  bool Empty() const { return list_.empty(); }
  std::optional<std::int32_t> SmallestFrame() const;

 private:
  std::vector<StudioContour> list_;
};

// The tracked object's contour moved along its track: one contour on each tracked frame (source
// numbering), shifted by the way the object went from where its contour was drawn, in the order
// of the montage.
StudioContours ContoursAlongTrack(const TrackedObject& object);

}  // namespace kinovia
