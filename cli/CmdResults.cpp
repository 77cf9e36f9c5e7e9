// kinovia-cli results [--smooth-speed 0|1] [--smooth-acceleration 0|1] WORK.knv
#include <ostream>

#include "cli/CliWork.h"
#include "cli/CommandRegistry.h"
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

ExitStatus PrintTable(const LoadedWork& work, const Options& options, CliStreams streams) {
  const auto table = WorkTable(work, options, TableForms::LinesOnly);
  if (!table) return Fail(table.Failure(), streams);
  for (const auto& line : table->lines) streams.out << line << '\n';
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
  return PrintTable(*work, options, streams);
}

const bool registered = RegisterCommand({"results", txt::CliSynopsisResults, RunResults});

}  // namespace
}  // namespace kinovia::cli
