// kinovia-cli record [--framework avi|gstreamer|ffmpeg] [--codec NAME] [--quality Q]
//   [--keyframes K] [--rate FPS] [--resize WxH | --crop TOP,BOTTOM,LEFT,RIGHT] [--blanks]
//   WORK.knv OUT.avi
// kinovia-cli codecs
#include <unistd.h>

#include <iostream>
#include <ostream>

#include "cli/CliWork.h"
#include "core/Numbers.h"
#include "media/recording/MontageRecorder.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

struct RecordArgs {
  RecordSettings settings;
  bool rateGiven = false;
  std::vector<std::string> files;
};

// "A<sep>B<sep>..." as whole numbers; nullopt unless there are exactly `count` of them.
std::optional<std::vector<int>> Integers(std::string_view text, char separator, std::size_t count) {
  std::vector<int> numbers;
  for (;;) {
    const std::size_t at = text.find(separator);
    const auto n = TextToInteger(text.substr(0, at));
    if (!n) return std::nullopt;
    numbers.push_back(*n);
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

bool TakeValue(RecordArgs& parsed, const std::string& name, const std::string& value) {
  RecordSettings& s = parsed.settings;
  if (name == "--framework") {
    const auto framework = FrameworkFromOptionName(value);
    if (framework) s.framework = *framework;
    return framework.has_value();
  }
  if (name == "--codec") {
    s.codec = value;
    return true;
  }
  if (name == "--rate") {
    const auto rate = TextToReal(value);
    parsed.rateGiven = rate.has_value();
    if (rate) s.framesPerSecond = *rate;
    return rate.has_value();
  }
  if (name == "--resize" || name == "--crop") {
    const bool resize = name == "--resize";
    const auto n = Integers(value, resize ? 'x' : ',', resize ? 2 : 4);
    if (!n || s.change != PictureChange::None) return false;  // one or the other
    s.change = resize ? PictureChange::Resize : PictureChange::Crop;
    if (resize)
      s.width = (*n)[0], s.height = (*n)[1];
    else
      s.crop = {(*n)[0], (*n)[1], (*n)[2], (*n)[3]};
    return true;
  }
  const auto n = TextToInteger(value);
  if (!n) return false;
  if (name == "--quality")
    s.quality = *n;
  else if (name == "--keyframes")
    s.keyFrames = *n;
  else
    return false;
  return true;
}

std::optional<RecordArgs> ParseArgs(const std::vector<std::string>& args) {
  RecordArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--blanks") {
      parsed.settings.blanks = true;
    } else if (args[i].starts_with("--")) {
      if (i + 1 >= args.size() || !TakeValue(parsed, args[i], args[i + 1])) return std::nullopt;
      ++i;
    } else {
      parsed.files.push_back(args[i]);
    }
  }
  if (parsed.files.size() != 2) return std::nullopt;
  return parsed;
}

ExitStatus RunRecord(const std::vector<std::string>& args, CliStreams streams) {
  auto parsed = ParseArgs(args);
  if (!parsed) return UsageError(streams.err);
  const Options options;
  const auto work = LoadWork(parsed->files[0], options, streams);
  if (!work) return ExitStatus::Failed;
  FrameSource& source = *work->video.Source();
  RecordSettings& settings = parsed->settings;
  if (!parsed->rateGiven) settings.framesPerSecond = source.FramesPerSecond();
  const auto recorder = MakeRecorder(settings.framework);
  // Progress is for a person watching, not for a log.
  const bool terminal = ::isatty(STDERR_FILENO) == 1 && &streams.err == &std::cerr;
  const auto written =
      RecordMontage(source, work->montage, settings, *recorder, parsed->files[1], [&](int percent) {
        if (terminal) streams.err << '\r' << percent << " %" << std::flush;
        return true;
      });
  if (terminal) streams.err << '\n';
  if (!written) return Fail(written.Failure(), streams);
  streams.out << "frames\t" << written.Value() << '\n';
  return ExitStatus::Ok;
}

ExitStatus RunCodecs(const std::vector<std::string>& args, CliStreams streams) {
  if (!args.empty()) return UsageError(streams.err);
  for (RecordFramework framework : AvailableFrameworks())
    for (const std::string& codec : MakeRecorder(framework)->Codecs())
      streams.out << FrameworkOptionName(framework) << '\t' << codec << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"record", txt::CliSynopsisRecord, RunRecord}) &&
                        RegisterCommand({"codecs", txt::CliSynopsisCodecs, RunCodecs});

}  // namespace
}  // namespace kinovia::cli
