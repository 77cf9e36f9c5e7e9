// kinovia-cli format [--full] N VALUE
#include <ostream>

#include "cli/UnitCli.h"
#include "resources/TxtCli.h"
#include "results/UnitMathUtils.h"

namespace kinovia::cli {
namespace {

int RunFormat(const std::vector<std::string>& args, TCliStreams streams) {
  const bool full = !args.empty() && args[0] == "--full";
  const std::size_t first = full ? 1 : 0;
  if (args.size() != first + 2) return UsageError(streams.err);
  const auto digits = TextToInteger(args[first]);
  const auto value = TextToReal(NormalizeDecimalSeparator(args[first + 1]));
  if (!digits || !value) {
    const auto field = digits ? TNumberField::Real : TNumberField::Integer;
    streams.err << PlainText(NumberRejectedMessage(digits ? args[first + 1] : args[first], field))
                << '\n';
    return kExitFailed;
  }
  streams.out << (full ? FullPrecisionText(*value) : FormatValue(*digits, *value)) << '\n';
  return kExitOk;
}

const bool registered = RegisterCommand({"format", txt::CliSynopsisFormat, RunFormat});

}  // namespace
}  // namespace kinovia::cli
