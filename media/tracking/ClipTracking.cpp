#include "media/tracking/ClipTracking.h"

namespace kinovia {

bool DrawCurrentFrame(VideoControl& video, Bitmap& frame) {
  FrameSource* source = video.Source();
  return source != nullptr && source->DrawWhole(frame);
}

RgbView ViewOf(const Bitmap& frame) { return {frame.pixels.data(), frame.width, frame.height}; }

bool TrackThroughClip(Tracker& tracker, VideoControl& video, int step,
                      const TrackingProgress& progress) {
  const std::vector<int> frames = tracker.RunFrames(step);
  if (frames.empty() || !video.IsOpen()) return false;
  // One bitmap for the whole run: a long 4K run must not allocate a frame per frame.
  Bitmap frame;
  video.GoToMontageIndex(frames.front());
  if (!DrawCurrentFrame(video, frame) ||
      !tracker.BeginRun(ViewOf(frame), video.CurrentSourceFrame()))
    return false;
  const int total = static_cast<int>(frames.size());
  if (progress && !progress(1, total)) return true;
  for (int i = 1; i < total; ++i) {
    video.GoToMontageIndex(frames[static_cast<std::size_t>(i)]);
    // An undecodable frame is skipped: the next one is searched from the last position found.
    if (DrawCurrentFrame(video, frame))
      tracker.TrackFrame(ViewOf(frame), frames[static_cast<std::size_t>(i)],
                         video.CurrentSourceFrame());
    if (progress && !progress(i + 1, total)) break;
  }
  return true;
}

}  // namespace kinovia
