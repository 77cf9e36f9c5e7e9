#pragma once
// The two sample scenes: where things are, how the object moves (exact physics) and how each
// frame looks. Pictures are orthographic, so metres map to pixels by one scale everywhere.
#include "media/samples/SampleClips.h"
#include "media/samples/SampleRaster.h"

namespace kinovia {

inline constexpr double kSampleGravity = 9.81;  // m/s^2
inline constexpr int kSampleWidth = 640;
inline constexpr int kSampleHeight = 480;
inline constexpr int kSampleFramesPerSecond = 25;

struct SampleGeometry {
  int frameCount = 0;
  double pixelsPerMetre = 0;
  double objectRadius = 0;  // metres
  PointD rulerStart;        // pixels, the ruler's 0 graduation
  double rulerLength = 0;   // metres, laid towards +x
};

const SampleGeometry& GeometryOf(SampleClip clip);

// The object's true centre in pixels at time t (seconds), and its turn in radians.
PointD SampleCentre(SampleClip clip, double t);
double SampleTurn(SampleClip clip, double t);

// Frame n as the camera would see it before noise and compression. `background` is the
// clip's SampleBackground, drawn once and reused for every frame.
SampleRaster SampleBackground(SampleClip clip);
SampleRaster SampleFrame(SampleClip clip, const SampleRaster& background, int frame);

}  // namespace kinovia
