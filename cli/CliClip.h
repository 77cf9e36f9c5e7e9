#pragma once
// Opening a clip from kinovia-cli's arguments, as the desktop program opens it.
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandRegistry.h"
#include "media/video/VideoControl.h"

namespace kinovia::cli {

// The framework's name on the command line and in the probe's output.
const char* FrameworkName(VideoFramework framework);

// Reads an optional "--framework NAME" at the front of `args`; the rest stays in `args`.
// nullopt (no framework asked) or the framework; false in `valid` for an unknown name.
std::optional<VideoFramework> TakeFrameworkOption(std::vector<std::string>& args, bool& valid);

// Opens `clip` with the framework asked, or with the program's choice and fallbacks; on failure
// prints the program's message, one line each, to the error stream.
bool OpenClip(VideoControl& video, const std::optional<VideoFramework>& framework,
              const std::string& clip, CliStreams streams);

}  // namespace kinovia::cli
