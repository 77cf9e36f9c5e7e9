// kinovia-cli --version
#include <ostream>

#include "cli/CommandRegistry.h"
#include "cli/KinoviaVersion.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

int RunVersion(const std::vector<std::string>& args, CliStreams streams) {
  if (!args.empty()) return UsageError(streams.err);
  streams.out << "kinovia-cli " << kKinoviaVersion << '\n';
  return kExitOk;
}

const bool registered = RegisterCommand({"--version", txt::CliSynopsisVersion, RunVersion});

}  // namespace
}  // namespace kinovia::cli
