// kinovia-cli --version
#include <ostream>

#include "cli/CommandRegistry.h"
#include "cli/KinoviaVersion.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

ExitStatus RunVersion(const std::vector<std::string>& args, CliStreams streams) {
  if (!args.empty()) return UsageError(streams.err);
  streams.out << "kinovia-cli " << kKinoviaVersion << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"--version", txt::CliSynopsisVersion, RunVersion});

}  // namespace
}  // namespace kinovia::cli
