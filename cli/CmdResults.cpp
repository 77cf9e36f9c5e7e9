// kinovia-cli results [--smooth-speed 0|1] [--smooth-acceleration 0|1] WORK.knv
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <ostream>

#include "cli/CliClip.h"
#include "cli/CommandRegistry.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "logic/results/ResultsSource.h"
#include "logic/session/WorkFile.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

// Without a window, view pixels are the picture's own pixels.
class PictureMapping : public IViewMapping {
 public:
  explicit PictureMapping(const IVideoFacts& video) : video_(video) {}
  PointD ToFraction(PointI p) const override {
    return {std::clamp(p.x / Width(), 0.0, 1.0), std::clamp(p.y / Height(), 0.0, 1.0)};
  }
  PointI ToView(PointD f) const override {
    return {RoundToInt(f.x * Width()), RoundToInt(f.y * Height())};
  }
  int ViewWidth() const override { return static_cast<int>(Width()); }
  int ViewHeight() const override { return static_cast<int>(Height()); }

 private:
  double Width() const { return std::max(video_.PictureWidth(), 1); }
  double Height() const { return std::max(video_.PictureHeight(), 1); }
  const IVideoFacts& video_;
};

struct ResultsArgs {
  std::optional<bool> smoothSpeed, smoothAcceleration;
  std::string workFile;
};

std::optional<ResultsArgs> ParseArgs(const std::vector<std::string>& args) {
  ResultsArgs parsed;
  std::size_t i = 0;
  for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
    const std::string& value = args[i + 1];
    if (value != "0" && value != "1") return std::nullopt;
    if (args[i] == "--smooth-speed") {
      parsed.smoothSpeed = value == "1";
    } else if (args[i] == "--smooth-acceleration") {
      parsed.smoothAcceleration = value == "1";
    } else {
      return std::nullopt;
    }
  }
  if (i + 1 != args.size()) return std::nullopt;
  parsed.workFile = args[i];
  return parsed;
}

std::string NowText() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return text;
}

ExitStatus Fail(const Message& message, CliStreams streams) {
  streams.err << PlainText(message) << '\n';
  return ExitStatus::Failed;
}

ExitStatus PrintTable(const Session& data, const Options& options, const std::string& title,
                      CliStreams streams) {
  const auto table = PrepareTable(data, HiddenFamiliesOf(options), DerivationFlagsOf(options));
  if (!table) return Fail(table.Failure(), streams);
  std::vector<std::string> names;
  for (int o = 0; o < table->results.ObjectCount(); ++o) names.push_back(data.ObjectName(o));
  for (const auto& line :
       ExportTextLines(table->layout, table->results, names, TableOptionsOf(options), title,
                       NowText(), data.XAxisAngle()))
    streams.out << line << '\n';
  return ExitStatus::Ok;
}

ExitStatus RunResults(const std::vector<std::string>& args, CliStreams streams) {
  const auto parsed = ParseArgs(args);
  if (!parsed) return UsageError(streams.err);
  Options options;
  if (parsed->smoothSpeed) options.SetFlag(BoolOption::SmoothSpeed, *parsed->smoothSpeed);
  if (parsed->smoothAcceleration)
    options.SetFlag(BoolOption::SmoothAcceleration, *parsed->smoothAcceleration);

  const auto opened = OpenWorkFile(parsed->workFile);
  if (!opened) return Fail(opened.Failure(), streams);
  const OpenedWork& result = opened.Value();

  Montage montage;
  VideoControl video(montage);
  if (!OpenClip(video, std::nullopt, result.clip, streams)) return ExitStatus::Failed;
  PictureMapping mapping(video);
  Session data(video, mapping, SessionOptionsOf(options));
  video.SetWorkMode(result.work.transparentMode ? WorkingMode::Transparent
                                                : WorkingMode::FixedAxes);
  ApplyMontage(result.work.montage, video.Source()->FrameCount(), montage);
  data.Restore(result.work);
  const std::string title = std::filesystem::path(result.clip).filename().string();
  return PrintTable(data, options, title, streams);
}

const bool registered = RegisterCommand({"results", txt::CliSynopsisResults, RunResults});

}  // namespace
}  // namespace kinovia::cli
