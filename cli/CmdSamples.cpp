// kinovia-cli samples DIR
#include <ostream>

#include "cli/CommandRegistry.h"
#include "media/samples/SampleGenerator.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

ExitStatus RunSamples(const std::vector<std::string>& args, CliStreams streams) {
  if (args.size() != 1) return UsageError(streams.err);
  if (const auto written = WriteSampleSet(args[0]); !written) {
    for (const auto& line : written.Failure().lines)
      if (!line.text.empty()) streams.err << line.text << '\n';
    return ExitStatus::Failed;
  }
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"samples", txt::CliSynopsisSamples, RunSamples});

}  // namespace
}  // namespace kinovia::cli
