#pragma once
// Opening a clip from kinovia-cli's arguments, as the desktop program opens it.
#include <optional>
#include <string>
#include <vector>

#include "cli/UnitCli.h"
#include "video/UnitVideo.h"

namespace kinovia::cli {

// The framework's name on the command line and in the probe's output.
const char* FrameworkName(TFramework framework);

// Reads an optional "--framework NAME" at the front of `args`; the rest stays in `args`.
// nullopt (no framework asked) or the framework; false in `valid` for an unknown name.
std::optional<TFramework> TakeFrameworkOption(std::vector<std::string>& args, bool& valid);

// Opens `clip` with the framework asked, or with the program's choice and fallbacks; on failure
// prints the program's message, one line each, to the error stream.
bool OpenClip(TVideo& video, const std::optional<TFramework>& framework, const std::string& clip,
              TCliStreams streams);

}  // namespace kinovia::cli
