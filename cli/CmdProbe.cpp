// kinovia-cli probe [--framework avi|gstreamer|ffmpeg] CLIP
#include <ostream>

#include "cli/CliClip.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

ExitStatus RunProbe(const std::vector<std::string>& arguments, CliStreams streams) {
  std::vector<std::string> args = arguments;
  bool valid = true;
  const auto framework = TakeFrameworkOption(args, valid);
  if (!valid || args.size() != 1) return UsageError(streams.err);
  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, framework, args[0], streams)) return ExitStatus::Failed;
  const FrameSource& source = *video.Source();
  streams.out << "framework\t" << FrameworkName(video.Framework()) << '\n'
              << "frames\t" << source.FrameCount() << '\n'
              << "width\t" << source.Width() << '\n'
              << "height\t" << source.Height() << '\n'
              << "fps\t" << FullPrecisionText(source.FramesPerSecond()) << '\n'
              << "interval\t" << FullPrecisionText(source.Interval()) << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"probe", txt::CliSynopsisProbe, RunProbe});

}  // namespace
}  // namespace kinovia::cli
