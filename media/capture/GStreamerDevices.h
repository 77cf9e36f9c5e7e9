#pragma once
// GStreamer's side of the capture devices: the video sources its device monitor sees.
#include <string>
#include <vector>

namespace kinovia {

struct GStreamerVideoSource {
  std::string name;
  std::string path;  // the V4L2 node v4l2src opens
};

// Empty when GStreamer cannot start or sees no camera.
std::vector<GStreamerVideoSource> GStreamerVideoSources();

// Makes sure GStreamer is initialised; false when it cannot be.
bool GStreamerStarted();

}  // namespace kinovia
