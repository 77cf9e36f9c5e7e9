// kinovia-cli track [--framework avi|gstreamer|ffmpeg] CLIP --contour U1,V1;U2,V2;... --first F
//   [--last L] [--radius R] [--step K] [--ban U,V;...]... [--subpixel]
#include <ostream>

#include "cli/CliClip.h"
#include "cli/CliPoints.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "logic/settings/Options.h"
#include "media/tracking/ClipTracking.h"
#include "resources/TxtCli.h"
#include "resources/TxtTracking.h"

namespace kinovia::cli {
namespace {

struct TrackArgs {
  std::string clip;
  std::vector<PointD> contour;
  std::vector<std::vector<PointD>> banZones;
  int first = -1;
  std::optional<int> last;
  int radius = Options().Value(IntOption::TrackingRadius);
  int step = 1;
  bool subpixel = false;
};

bool TakeOption(TrackArgs& parsed, const std::string& name, const std::string& value) {
  if (name == "--contour" || name == "--ban") {
    auto polygon = Polygon(value);
    if (!polygon) return false;
    if (name == "--contour")
      parsed.contour = std::move(*polygon);
    else
      parsed.banZones.push_back(std::move(*polygon));
    return true;
  }
  const auto n = TextToInteger(value);
  if (!n) return false;
  if (name == "--first")
    parsed.first = *n;
  else if (name == "--last")
    parsed.last = *n;
  else if (name == "--radius")
    parsed.radius = *n;
  else if (name == "--step")
    parsed.step = *n;
  else
    return false;
  return true;
}

std::optional<TrackArgs> ParseArgs(const std::vector<std::string>& args) {
  TrackArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--subpixel") {
      parsed.subpixel = true;
    } else if (args[i].starts_with("--")) {
      if (i + 1 >= args.size() || !TakeOption(parsed, args[i], args[i + 1])) return std::nullopt;
      ++i;
    } else if (parsed.clip.empty()) {
      parsed.clip = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (parsed.clip.empty() || parsed.contour.empty() || parsed.first < 0 || parsed.step < 1)
    return std::nullopt;
  return parsed;
}

ExitStatus Refuse(TxtId text, CliStreams streams) {
  streams.err << Txt(text) << '\n';
  return ExitStatus::Failed;
}

ExitStatus RunTrack(const std::vector<std::string>& arguments, CliStreams streams) {
  std::vector<std::string> args = arguments;
  bool valid = true;
  const auto framework = TakeFrameworkOption(args, valid);
  const auto parsed = valid ? ParseArgs(args) : std::nullopt;
  if (!parsed) return UsageError(streams.err);
  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, framework, parsed->clip, streams)) return ExitStatus::Failed;
  if (parsed->first >= video.FrameCount()) {
    streams.err << Txt(txt::CliFrameOutside) << ' ' << parsed->first << '\n';
    return ExitStatus::Failed;
  }
  Tracker tracker;
  tracker.Reset(1, video.FrameCount());
  tracker.SetSearchRadius(parsed->radius);
  tracker.SetSubpixel(parsed->subpixel);
  for (const auto& zone : parsed->banZones) tracker.AddBanZone(zone);
  video.GoToMontageIndex(parsed->first);
  Bitmap frame;
  if (!DrawCurrentFrame(video, frame)) return Refuse(txt::TrackOpenClipFirst, streams);
  tracker.SetContour(parsed->contour, parsed->first, ViewOf(frame));
  if (parsed->last) tracker.SetLastFrame(*parsed->last);
  if (const auto problem = tracker.StartProblem(true, false)) return Refuse(*problem, streams);
  if (!TrackThroughClip(tracker, video, parsed->step, {}))
    return Refuse(txt::TrackDrawContourFirst, streams);
  for (const TrackedMark& mark : tracker.Results())
    streams.out << mark.frame << '\t' << FullPrecisionText(mark.position.x) << '\t'
                << FullPrecisionText(mark.position.y) << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"track", txt::CliSynopsisTrack, RunTrack});

}  // namespace
}  // namespace kinovia::cli
