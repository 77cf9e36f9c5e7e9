#include "logic/studio/StudioContours.h"

#include <algorithm>

namespace kinovia {

void StudioContours::Set(std::int32_t frame, std::vector<PointD> outline) {
  Remove(frame);
  list_.push_back({frame, std::move(outline)});
}

bool StudioContours::Remove(std::int32_t frame) {
  return std::erase_if(list_, [frame](const auto& c) { return c.frame == frame; }) > 0;
}

std::optional<std::int32_t> StudioContours::LastFrame() const {
  if (list_.empty()) return std::nullopt;
  return list_.back().frame;
}

int StudioContours::RemoveInside(PointD corner1, PointD corner2) {
  const double left = std::min(corner1.x, corner2.x), right = std::max(corner1.x, corner2.x);
  const double top = std::min(corner1.y, corner2.y), bottom = std::max(corner1.y, corner2.y);
  return static_cast<int>(std::erase_if(list_, [&](const StudioContour& c) {
    return std::all_of(c.outline.begin(), c.outline.end(), [&](PointD p) {
      return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    });
  }));
}

std::optional<std::int32_t> StudioContours::SmallestFrame() const {
  if (list_.empty()) return std::nullopt;
  return std::min_element(list_.begin(), list_.end(),
                          [](const auto& a, const auto& b) { return a.frame < b.frame; })
      ->frame;
}

StudioContours ContoursAlongTrack(const TrackedObject& object) {
  StudioContours contours;
  if (!object.contourValid) return contours;
  const std::size_t count = std::min(object.frameTags.size(), object.positions.size());
  for (std::size_t f = 0; f < count; ++f) {
    if (object.frameTags[f] == Tracker::kNotTracked) continue;
    const PointD shift = {object.positions[f].x - object.contourCentre.x,
                          object.positions[f].y - object.contourCentre.y};
    std::vector<PointD> outline = object.contour;
    for (PointD& p : outline) p = {p.x + shift.x, p.y + shift.y};
    contours.Set(object.frameTags[f], std::move(outline));
  }
  return contours;
}

}  // namespace kinovia
