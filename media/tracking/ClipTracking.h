#pragma once
// A tracking run through the clip the video control shows: the one path the main window and
// kinovia-cli share, so both find the same positions on the same clip.
#include <functional>

#include "logic/tracking/Tracker.h"
#include "media/video/VideoControl.h"

namespace kinovia {

// Called after each frame of the run with the frames done and the run's length; returning false
// stops the run, keeping the positions found so far.
using TrackingProgress = std::function<bool(int done, int total)>;

// The frame shown, whole, as the tracker reads it; false when it cannot be decoded.
bool DrawCurrentFrame(VideoControl& video, Bitmap& frame);
RgbView ViewOf(const Bitmap& frame);

// Runs the tracker's current object from its contour frame to its last frame, every `step`
// frames of the montage. False when no clip is open or the contour frame gives no model.
bool TrackThroughClip(Tracker& tracker, VideoControl& video, int step,
                      const TrackingProgress& progress);

}  // namespace kinovia
