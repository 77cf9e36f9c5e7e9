// kinovia-cli format [--full] N VALUE
#include <limits>
#include <optional>
#include <ostream>

#include "cli/CommandRegistry.h"
#include "core/Numbers.h"
#include "resources/TxtCli.h"
#include "resources/TxtNumbers.h"

namespace kinovia::cli {
namespace {

// Besides numbers, the texts the program itself writes for the values no number can show.
std::optional<double> FormatInput(const std::string& text) {
  if (text == Txt(txt::UndefinedNumber) || text == "NaN" || text == "nan") return kUndefined;
  if (text == "INF" || text == "inf") return std::numeric_limits<double>::infinity();
  if (text == "-INF" || text == "-inf") return -std::numeric_limits<double>::infinity();
  return TextToReal(NormalizeDecimalSeparator(text));
}

ExitStatus RunFormat(const std::vector<std::string>& args, CliStreams streams) {
  const bool full = !args.empty() && args[0] == "--full";
  const std::size_t first = full ? 1 : 0;
  if (args.size() != first + 2) return UsageError(streams.err);
  const auto digits = TextToInteger(args[first]);
  const auto value = FormatInput(args[first + 1]);
  if (!digits || !value) {
    const auto field = digits ? NumberField::Real : NumberField::Integer;
    streams.err << PlainText(NumberRejectedMessage(digits ? args[first + 1] : args[first], field))
                << '\n';
    return ExitStatus::Failed;
  }
  streams.out << (full ? FullPrecisionText(*value) : FormatValue(*digits, *value)) << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"format", txt::CliSynopsisFormat, RunFormat});

}  // namespace
}  // namespace kinovia::cli
