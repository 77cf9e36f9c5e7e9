#pragma once
// The clips made by make_clips.sh and ffmpeg's decoding of their frames.
#include <cstdint>
#include <string>
#include <vector>

#include "media/video/FrameSource.h"

namespace kinovia::test {

std::string ClipPath(const std::string& name);

// ffmpeg's frames of a clip (rgb24, top-down), all of one size.
struct ReferenceFrames {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;

  int FrameCount() const;
  // Mean absolute difference per channel between `picture` and reference frame n.
  double Distance(const Bitmap& picture, int n) const;
};

ReferenceFrames LoadReference(const std::string& name, int width, int height);

// Which reference frame `picture` is, when it is within `tolerance` of one and nearer to it than
// to any other; -1 otherwise.
int IdentifyFrame(const ReferenceFrames& reference, const Bitmap& picture, double tolerance);

}  // namespace kinovia::test
