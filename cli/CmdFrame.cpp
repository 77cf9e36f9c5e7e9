// kinovia-cli frame [--framework avi|gstreamer|ffmpeg] CLIP N OUT
#include <ostream>

#include "cli/CliClip.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "media/video/PictureFile.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

ExitStatus RunFrame(const std::vector<std::string>& arguments, CliStreams streams) {
  std::vector<std::string> args = arguments;
  bool valid = true;
  const auto framework = TakeFrameworkOption(args, valid);
  if (!valid || args.size() != 3) return UsageError(streams.err);
  const auto n = TextToInteger(args[1]);
  if (!n || PictureFormatOf(args[2]) == PictureFormat::Unknown) return UsageError(streams.err);
  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, framework, args[0], streams)) return ExitStatus::Failed;
  FrameSource& source = *video.Source();
  // Clamping suits the stepping buttons; a script asking for a frame the clip lacks must know.
  if (*n < 0 || *n >= source.FrameCount()) {
    streams.err << Txt(txt::CliFrameOutside) << ' ' << args[1] << '\n';
    return ExitStatus::Failed;
  }
  source.SetPosition(*n);
  Bitmap picture;
  if (!source.DrawWhole(picture)) {
    for (const auto& line : video.OpenFailureMessage(args[0]).lines)
      if (!line.text.empty()) streams.err << line.text << '\n';
    return ExitStatus::Failed;
  }
  if (!WritePicture(picture, args[2])) {
    streams.err << Txt(txt::CliCannotWrite) << ' ' << args[2] << '\n';
    return ExitStatus::Failed;
  }
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"frame", txt::CliSynopsisFrame, RunFrame});

}  // namespace
}  // namespace kinovia::cli
