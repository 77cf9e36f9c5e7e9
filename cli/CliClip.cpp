#include "cli/CliClip.h"

#include <array>
#include <ostream>

namespace kinovia::cli {
namespace {

constexpr std::array<TFramework, 3> kFrameworks = {TFramework::Vfw, TFramework::DirectShow,
                                                   TFramework::FFmpeg};

}  // namespace

const char* FrameworkName(TFramework framework) {
  switch (framework) {
    case TFramework::Vfw:
      return "avi";
    case TFramework::DirectShow:
      return "gstreamer";
    case TFramework::FFmpeg:
      return "ffmpeg";
  }
  return "";
}

std::optional<TFramework> TakeFrameworkOption(std::vector<std::string>& args, bool& valid) {
  valid = true;
  if (args.empty() || args[0] != "--framework") return std::nullopt;
  valid = false;
  if (args.size() < 2) return std::nullopt;
  for (const TFramework framework : kFrameworks) {
    if (args[1] != FrameworkName(framework)) continue;
    valid = true;
    args.erase(args.begin(), args.begin() + 2);
    return framework;
  }
  return std::nullopt;
}

bool OpenClip(TVideo& video, const std::optional<TFramework>& framework, const std::string& clip,
              TCliStreams streams) {
  if (framework ? video.OpenWith(*framework, clip) : video.Open(clip)) return true;
  for (const auto& line : video.OpenFailureMessage(clip).lines)
    if (!line.text.empty()) streams.err << line.text << '\n';
  return false;
}

}  // namespace kinovia::cli
