// kinovia-cli chrono CLIP --contour FRAME:U1,V1;U2,V2;... [--contour ...] [--background] OUT.png
#include <ostream>

#include "cli/CliClip.h"
#include "cli/CliPoints.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "media/studio/Chronophotograph.h"
#include "media/video/PictureFile.h"
#include "resources/TxtCli.h"
#include "resources/TxtStudio.h"

namespace kinovia::cli {
namespace {

struct ChronoArgs {
  std::string clip;
  std::string out;
  StudioContours contours;
  bool background = false;
};

// "FRAME:U1,V1;U2,V2;...": the frame (source numbering) and the contour drawn on it.
bool TakeContour(ChronoArgs& parsed, const std::string& value) {
  const auto colon = value.find(':');
  if (colon == std::string::npos) return false;
  const auto frame = TextToInteger(value.substr(0, colon));
  auto outline = Polygon(std::string_view(value).substr(colon + 1));
  if (!frame || *frame < 0 || !outline || outline->size() < 3) return false;
  parsed.contours.Set(*frame, std::move(*outline));
  return true;
}

std::optional<ChronoArgs> ParseArgs(const std::vector<std::string>& args) {
  ChronoArgs parsed;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--background") {
      parsed.background = true;
    } else if (args[i] == "--contour") {
      if (i + 1 >= args.size() || !TakeContour(parsed, args[++i])) return std::nullopt;
    } else if (args[i].starts_with("--")) {
      return std::nullopt;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2 || PictureFormatOf(files[1]) == PictureFormat::Unknown) return std::nullopt;
  parsed.clip = files[0];
  parsed.out = files[1];
  return parsed;
}

ExitStatus RunChrono(const std::vector<std::string>& arguments, CliStreams streams) {
  std::vector<std::string> args = arguments;
  bool valid = true;
  const auto framework = TakeFrameworkOption(args, valid);
  const auto parsed = valid ? ParseArgs(args) : std::nullopt;
  if (!parsed) return UsageError(streams.err);
  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, framework, parsed->clip, streams)) return ExitStatus::Failed;
  for (const auto& contour : parsed->contours.List()) {
    if (contour.frame >= video.FrameCount()) {
      streams.err << Txt(txt::CliFrameOutside) << ' ' << contour.frame << '\n';
      return ExitStatus::Failed;
    }
  }
  const auto picture = BuildChronophotograph(*video.Source(), parsed->contours, parsed->background);
  if (!picture) {
    for (const auto& line : picture.Failure().lines) streams.err << line.text << '\n';
    return ExitStatus::Failed;
  }
  if (!WritePicture(picture.Value(), parsed->out)) {
    streams.err << Txt(txt::CliCannotWrite) << ' ' << parsed->out << '\n';
    return ExitStatus::Failed;
  }
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"chrono", txt::CliSynopsisChrono, RunChrono});

}  // namespace
}  // namespace kinovia::cli
