#include "logic/tracking/Tracker.h"

#include <algorithm>

#include "resources/TxtTracking.h"

namespace kinovia {
namespace {

// The search works on pixel indices; the place a pixel shows on the frame is its centre, half a
// pixel in from its top-left corner. Storing the corner would put every tracked mark half a pixel
// up and to the left of the object.
PointD PixelCentre(PointI pixel) { return {pixel.x + 0.5, pixel.y + 0.5}; }

}  // namespace

bool TrackedObject::HasTrackedFrames() const {
  return std::any_of(frameTags.begin(), frameTags.end(),
                     [](int tag) { return tag != Tracker::kNotTracked; });
}

Tracker::Tracker() = default;

TrackedObject Tracker::NewObject() const {
  TrackedObject object;
  object.frameTags.assign(static_cast<std::size_t>(frameCount_), kNotTracked);
  object.positions.assign(static_cast<std::size_t>(frameCount_), PointD{});
  return object;
}

void Tracker::Reset(int objectCount, int frameCount) {
  frameCount_ = std::max(frameCount, 0);
  lastFrame_ = frameCount_ - 1;
  objectIndex_ = 0;
  objects_.assign(static_cast<std::size_t>(std::max(objectCount, 1)), NewObject());
}

void Tracker::ResizeObjects(int objectCount) {
  objects_.resize(static_cast<std::size_t>(std::max(objectCount, 1)), NewObject());
  objectIndex_ = std::min(objectIndex_, ObjectCount() - 1);
}

void Tracker::SetObjectIndex(int index) { objectIndex_ = std::clamp(index, 0, ObjectCount() - 1); }

void Tracker::SetLastFrame(int frame) {
  lastFrame_ = std::max(1, std::min(std::max(frame, Current().contourFrame + 1), frameCount_ - 1));
}

bool Tracker::SetContour(std::vector<PointD> contour, int frameIndex, RgbView frame) {
  TrackedObject& object = Edited();
  object.state = TrackedObjectState::ContourDrawn;
  if (contour.size() < 3) return false;
  object.contour = std::move(contour);
  object.contourFrame = frameIndex;
  SetLastFrame(lastFrame_);
  object.contourCentre = ContourCentre(object.contour);
  PointI start;
  object.contourValid = meanShift_.BuildModel(frame, object.contour, start);
  return object.contourValid;
}

void Tracker::ClearContour() {
  TrackedObject& object = Edited();
  object.contour.clear();
  object.contourValid = false;
  object.contourFrame = 0;
}

void Tracker::ClearTrackedPositions() {
  std::fill(Edited().frameTags.begin(), Edited().frameTags.end(), kNotTracked);
}

bool Tracker::AddBanZone(std::span<const PointD> zone) {
  if (zone.size() <= 2) return false;
  Edited().banZones.push_back(ClosedPolygon(zone));
  return true;
}

void Tracker::RemoveLastBanZone() {
  if (!Edited().banZones.empty()) Edited().banZones.pop_back();
}

void Tracker::RemoveAllBanZones() { Edited().banZones.clear(); }

void Tracker::ClearEverything() {
  const int kept = objectIndex_;
  for (objectIndex_ = 0; objectIndex_ < ObjectCount(); ++objectIndex_) {
    ClearContour();
    ClearTrackedPositions();
    RemoveAllBanZones();
  }
  objectIndex_ = kept;
}

std::optional<TxtId> Tracker::SequenceProblem(bool clipOpen, bool drawing) const {
  if (!clipOpen) return txt::TrackOpenClipFirst;
  if (!Current().contourValid || drawing) return txt::TrackDrawContourFirst;
  if (Current().contourFrame >= frameCount_ - 1) return txt::TrackStartsOnLastFrame;
  if (Current().contourFrame < 0) return txt::TrackFirstFrameWrong;
  return std::nullopt;
}

std::optional<TxtId> Tracker::StartProblem(bool clipOpen, bool drawing) {
  if (auto problem = SequenceProblem(clipOpen, drawing)) return problem;
  if (lastFrame_ >= frameCount_ || lastFrame_ <= Current().contourFrame)
    lastFrame_ = frameCount_ - 1;
  return std::nullopt;
}

std::vector<int> Tracker::RunFrames(int step) const {
  std::vector<int> frames;
  const int k = std::max(step, 1);
  for (int f = Current().contourFrame; f <= lastFrame_ && f < frameCount_; f += k)
    frames.push_back(f);
  return frames;
}

bool Tracker::BeginRun(RgbView frame, int sourceFrame) {
  const TrackedObject& object = Current();
  meanShift_.SetBanZones(object.banZones, frame.height, frame.width);
  PointI start;
  if (!meanShift_.BuildModel(frame, object.contour, start)) return false;
  meanShift_.SetBinCount(MeanShift::kTrackerBins);
  meanShift_.ComputeTargetHistogram();
  position_ = start;
  Record(object.contourFrame, sourceFrame, PixelCentre(start), frame.width, frame.height);
  return true;
}

void Tracker::TrackFrame(RgbView frame, int frameIndex, int sourceFrame) {
  const SearchOutcome outcome = meanShift_.Search(frame, position_, MeanShift::kMaxIterations);
  const PointD pixel = subpixel_ && outcome.hasCentroid ? outcome.centroid : PixelCentre(position_);
  Record(frameIndex, sourceFrame, pixel, frame.width, frame.height);
}

void Tracker::Record(int frameIndex, int sourceFrame, PointD pixel, int width, int height) {
  TrackedObject& object = Edited();
  object.state = TrackedObjectState::Tracked;
  object.lastPosition = {pixel.x / width, pixel.y / height};
  if (frameIndex < 0 || frameIndex >= frameCount_) return;
  object.positions[static_cast<std::size_t>(frameIndex)] = object.lastPosition;
  object.frameTags[static_cast<std::size_t>(frameIndex)] = sourceFrame;
}

bool Tracker::HasResults() const {
  return std::any_of(objects_.begin(), objects_.end(),
                     [](const TrackedObject& o) { return o.HasTrackedFrames(); });
}

std::vector<TrackedMark> Tracker::Results() const {
  std::vector<TrackedMark> marks;
  for (int object = 0; object < ObjectCount(); ++object) {
    const TrackedObject& o = objects_[static_cast<std::size_t>(object)];
    for (std::size_t f = 0; f < o.frameTags.size(); ++f)
      if (o.frameTags[f] != kNotTracked) marks.push_back({object, o.frameTags[f], o.positions[f]});
  }
  return marks;
}

}  // namespace kinovia
