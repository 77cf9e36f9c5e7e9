// kinovia-cli split CLIP BASE
// kinovia-cli join [--rate FPS] OUT.avi PICTURES...
#include <ostream>

#include "cli/CliClip.h"
#include "cli/CliWork.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "media/studio/PictureSeries.h"
#include "resources/TxtStudio.h"

namespace kinovia::cli {
namespace {

ExitStatus RunSplit(const std::vector<std::string>& args, CliStreams streams) {
  if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
    return UsageError(streams.err);
  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, std::nullopt, args[0], streams)) return ExitStatus::Failed;
  const auto written = SplitClip(*video.Source(), montage, RecordSettings{}, args[1], nullptr);
  if (!written) return Fail(written.Failure(), streams);
  streams.out << "pictures\t" << written.Value() << '\n';
  return ExitStatus::Ok;
}

ExitStatus RunJoin(const std::vector<std::string>& arguments, CliStreams streams) {
  std::vector<std::string> args = arguments;
  RecordSettings settings;
  if (args.size() >= 2 && args[0] == "--rate") {
    const auto rate = TextToReal(args[1]);
    if (!rate) return UsageError(streams.err);
    settings.framesPerSecond = *rate;
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 2 ||
      std::any_of(args.begin(), args.end(), [](const auto& a) { return a.starts_with("--"); }))
    return UsageError(streams.err);
  const auto recorder = MakeRecorder(settings.framework);
  const std::vector<std::string> pictures(args.begin() + 1, args.end());
  const auto written = JoinPictures(pictures, settings, *recorder, args[0], nullptr);
  if (!written) return Fail(written.Failure(), streams);
  streams.out << "frames\t" << written.Value() << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"split", txt::CliSynopsisSplit, RunSplit}) &&
                        RegisterCommand({"join", txt::CliSynopsisJoin, RunJoin});

}  // namespace
}  // namespace kinovia::cli
