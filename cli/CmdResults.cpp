// kinovia-cli results [--smooth-speed 0|1] [--smooth-acceleration 0|1] WORK.knv
#include <chrono>
#include <ctime>
#include <ostream>

#include "cli/CliWork.h"
#include "cli/CommandRegistry.h"
#include "core/Numbers.h"
#include "logic/results/ResultsSource.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

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

ExitStatus PrintTable(const Session& data, const Options& options, const std::string& title,
                      CliStreams streams) {
  UserFormulas formulas;
  const auto table = PrepareTable(data, HiddenFamiliesOf(options), DerivationFlagsOf(options),
                                  FormulaSettingsOf(options), formulas);
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

  const auto work = LoadWork(parsed->workFile, options, streams);
  if (!work) return ExitStatus::Failed;
  return PrintTable(work->session, options, work->clipName, streams);
}

const bool registered = RegisterCommand({"results", txt::CliSynopsisResults, RunResults});

}  // namespace
}  // namespace kinovia::cli
