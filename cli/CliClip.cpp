#include "cli/CliClip.h"

#include <array>
#include <ostream>

namespace kinovia::cli {
namespace {

constexpr std::array<VideoFramework, 3> kFrameworks = {
    VideoFramework::Avi, VideoFramework::GStreamer, VideoFramework::FFmpeg};

}  // namespace

const char* FrameworkName(VideoFramework framework) {
  switch (framework) {
    case VideoFramework::Avi:
      return "avi";
    case VideoFramework::GStreamer:
      return "gstreamer";
    case VideoFramework::FFmpeg:
      return "ffmpeg";
  }
  return "";
}

std::optional<VideoFramework> TakeFrameworkOption(std::vector<std::string>& args, bool& valid) {
  valid = true;
  if (args.empty() || args[0] != "--framework") return std::nullopt;
  valid = false;
  if (args.size() < 2) return std::nullopt;
  for (const VideoFramework framework : kFrameworks) {
    if (args[1] != FrameworkName(framework)) continue;
    valid = true;
    args.erase(args.begin(), args.begin() + 2);
    return framework;
  }
  return std::nullopt;
}

bool OpenClip(VideoControl& video, const std::optional<VideoFramework>& framework,
              const std::string& clip, CliStreams streams) {
  if (framework ? video.OpenWith(*framework, clip) : video.Open(clip)) return true;
  for (const auto& line : video.OpenFailureMessage(clip).lines)
    if (!line.text.empty()) streams.err << line.text << '\n';
  return false;
}

}  // namespace kinovia::cli
