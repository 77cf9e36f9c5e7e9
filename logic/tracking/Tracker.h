#pragma once
// The tracking driver's state: for each object its contour, ban zones, sequence start and the
// positions found, the checks before a run and the run itself, one frame at a time. Which frame
// is shown and how it is decoded belongs to the caller (the main window, kinovia-cli).
#include <optional>
#include <span>
#include <vector>

#include "core/Geometry.h"
#include "core/StringTable.h"
#include "logic/session/Session.h"
#include "logic/tracking/MeanShift.h"

namespace kinovia {

enum class TrackedObjectState { Nothing = 0, ContourDrawn = 1, Tracked = 2 };

struct TrackedObject {
  TrackedObjectState state = TrackedObjectState::Nothing;
  // A colour model could be built from the contour on its frame.
  bool contourValid = false;
  // The montage index on which the contour was drawn: the sequence's first frame.
  int contourFrame = 0;
  std::vector<PointD> contour;  // frame fractions
  PointD contourCentre;
  std::vector<std::vector<PointD>> banZones;  // closed polygons, frame fractions
  PointD lastPosition;
  // Per montage index: the source frame tracked there (-1: none) and the position found.
  std::vector<int> frameTags;
  std::vector<PointD> positions;

  bool HasTrackedFrames() const;
};

class Tracker {
 public:
  static constexpr int kNotTracked = -1;

  Tracker();

  // A new tracking mode: nothing drawn or tracked, the first object, the sequence to the end.
  void Reset(int objectCount, int frameCount);
  // Keeps existing objects' data; the current object is clamped into the new count.
  void ResizeObjects(int objectCount);

  int ObjectCount() const { return static_cast<int>(objects_.size()); }
  int ObjectIndex() const { return objectIndex_; }
  void SetObjectIndex(int index);
  const TrackedObject& Object(int index) const { return objects_[index]; }
  const TrackedObject& Current() const { return objects_[objectIndex_]; }

  int FrameCount() const { return frameCount_; }
  int LastFrame() const { return lastFrame_; }
  // Max(1, Min(Max(frame, contour frame + 1), frame count - 1)).
  void SetLastFrame(int frame);
  int SearchRadius() const { return meanShift_.SearchRadius(); }
  void SetSearchRadius(int radius) { meanShift_.SetSearchRadius(radius); }
  int WindowSide() const { return meanShift_.WindowSide(); }
  // Refines each position to the weighted centroid of the last window (off: whole pixels).
  bool Subpixel() const { return subpixel_; }
  void SetSubpixel(bool on) { subpixel_ = on; }

  // A finished contour (frame fractions) drawn on `frame` (montage index `frameIndex`): stored
  // when it has three points or more, and valid when a model can be built from it there.
  bool SetContour(std::vector<PointD> contour, int frameIndex, RgbView frame);
  void ClearContour();
  void ClearTrackedPositions();
  // A ban zone of three points or more, closed; false when too short.
  bool AddBanZone(std::span<const PointD> zone);
  void RemoveLastBanZone();
  void RemoveAllBanZones();
  // Contour, positions and ban zones of every object.
  void ClearEverything();

  // Why a run cannot start (nullopt: it can); a last frame outside the sequence is mended.
  std::optional<TxtId> StartProblem(bool clipOpen, bool drawing);
  // Why the last frame cannot be chosen: the same contour and frame checks.
  std::optional<TxtId> SequenceProblem(bool clipOpen, bool drawing) const;

  // The montage indices the run visits: the contour frame, then every `step` frames up to the
  // last frame.
  std::vector<int> RunFrames(int step) const;
  // The run's first frame, the contour's: false when no model can be built (the run ends).
  bool BeginRun(RgbView frame, int sourceFrame);
  // One later frame of the run, searched from the previous position.
  void TrackFrame(RgbView frame, int frameIndex, int sourceFrame);

  bool HasResults() const;
  // Every tracked frame of every object, as marks on their source frames.
  std::vector<TrackedMark> Results() const;

 private:
  TrackedObject& Edited() { return objects_[objectIndex_]; }
  void Record(int frameIndex, int sourceFrame, PointD pixel, int width, int height);
  TrackedObject NewObject() const;

  MeanShift meanShift_;
  std::vector<TrackedObject> objects_;
  int objectIndex_ = 0;
  int frameCount_ = 0;
  int lastFrame_ = 0;
  bool subpixel_ = false;
  PointI position_;  // the run's position in picture pixels
};

}  // namespace kinovia
