// kinovia-cli eval [--degrees] FORMULA [NAME=VALUE ...]
#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>

#include "cli/CommandRegistry.h"
#include "core/Enums.h"
#include "core/Numbers.h"
#include "logic/formulas/Parser.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

// Names are told apart without regard to case, as in the program's table of constants.
std::string Folded(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

ExitStatus RunEval(const std::vector<std::string>& args, CliStreams streams) {
  const bool degrees = !args.empty() && args[0] == "--degrees";
  const std::size_t first = degrees ? 1 : 0;
  if (args.size() <= first) return UsageError(streams.err);
  std::map<std::string, double> values;
  for (std::size_t k = first + 1; k < args.size(); ++k) {
    const auto equals = args[k].find('=');
    if (equals == std::string::npos || equals == 0) return UsageError(streams.err);
    const std::string typed = args[k].substr(equals + 1);
    const auto value = TextToReal(NormalizeDecimalSeparator(typed));
    if (!value) {
      streams.err << PlainText(NumberRejectedMessage(typed, NumberField::Real)) << '\n';
      return ExitStatus::Failed;
    }
    values[Folded(args[k].substr(0, equals))] = *value;
  }
  Parser parser;
  parser.SetRadians(!degrees);
  // Only plain names have a value here: there are no rows for an index to pick from.
  parser.SetOnVariable([&values](const VariableQuery& q) -> VariableAnswer {
    const auto it = q.hasIndex ? values.end() : values.find(Folded(q.name));
    if (it == values.end()) return {};
    return {true, it->second};
  });
  parser.SetFormula(args[first]);
  const double result = parser.Evaluate();
  if (parser.ErrorCode() != ParserError::kNone) {
    streams.err << Txt(txt::CliEvalError) << ' ' << Underlying(parser.ErrorCode()) << ": "
                << parser.ErrorMessage() << '\n';
    return ExitStatus::Failed;
  }
  streams.out << FullPrecisionText(result) << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"eval", txt::CliSynopsisEval, RunEval});

}  // namespace
}  // namespace kinovia::cli
