#pragma once
// What the measurement session asks of the video control and of the video view. The session
// only holds references to these interfaces, so it runs and is tested without a clip or window.
#include <cstdint>

#include "core/Geometry.h"

namespace kinovia {

// The working mode of the main window; the values are those stored and compared everywhere.
enum class WorkingMode : std::uint8_t {
  None = 0,
  Capture = 1,
  Montage = 2,
  FixedAxes = 3,  // manual pointing with the fixed frame of reference
  Studio = 4,
  Tracking = 5,
  Transparent = 6,
};

// The clip's timeline as the session needs it; the video control (VideoControl) implements it.
class IVideoFacts {
 public:
  virtual ~IVideoFacts() = default;

  // Index in the file of the frame shown now, from 0.
  virtual int CurrentSourceFrame() const = 0;
  // Position of the frame shown now among the visible frames (the source frame in montage mode).
  virtual int CurrentMontageIndex() const = 0;
  // Number of frames of the timeline (visible frames outside montage mode); 0 without a clip.
  virtual int FrameCount() const = 0;
  // Picture size in pixels of the open clip (-1 when no clip is open).
  virtual int PictureWidth() const = 0;
  virtual int PictureHeight() const = 0;
  virtual WorkingMode WorkMode() const = 0;
  // Time index of a source frame: the frame number plus its montage time shift in frames.
  virtual int FrameTimeIndex(int sourceFrame) const = 0;
  // Shows the frame at montage index n (mapped through the montage, clamped to the clip).
  virtual void GoToMontageIndex(int n) = 0;
  // Shows the given source frame, as when the session brings back the frame of an undone mark.
  virtual void GoToSourceFrame(int sourceFrame) = 0;
};

// The mapping between view pixels and frame fractions; the video view implements it and the
// session recomputes its cached screen positions whenever the view tells it that this changed.
class IViewMapping {
 public:
  virtual ~IViewMapping() = default;

  // View pixels to frame fractions, each coordinate clamped to [0, 1].
  virtual PointD ToFraction(PointI viewPixel) const = 0;
  // Frame fractions to view pixels, rounded to the nearest pixel (may lie outside the view).
  virtual PointI ToView(PointD fraction) const = 0;
  // Client size of the view in pixels, to clip the axes to the visible part.
  virtual int ViewWidth() const = 0;
  virtual int ViewHeight() const = 0;
};

}  // namespace kinovia
