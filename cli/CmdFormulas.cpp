// kinovia-cli formulas WORK.knv
#include <ostream>

#include "cli/CliWork.h"
#include "cli/CommandRegistry.h"
#include "core/Numbers.h"
#include "logic/results/ResultsSource.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

std::string StatusText(const FormulaStatus& status) {
  if (status.Ok()) return "ok";
  return Txt(txt::CliEvalError) + ' ' + std::to_string(status.code) + ": " + status.message;
}

// Each variable checked against the work's own table, then each constant with its value.
void PrintFormulas(const UserFormulas& formulas, std::ostream& out) {
  const FormulaSet& set = formulas.Definitions();
  for (std::size_t j = 0; j < set.formulas.size(); ++j)
    out << "variable\t" << set.formulas[j].identifier << '\t' << set.formulas[j].unit << '\t'
        << StatusText(formulas.Variables()[j].status) << '\n';
  for (std::size_t k = 0; k < set.constants.size(); ++k) {
    const UserConstant& constant = set.constants[k];
    const EvaluatedConstant& evaluated = formulas.Constants()[k];
    const std::string index = constant.index.empty() ? "" : "[" + constant.index + "]";
    out << "constant\t" << constant.identifier << index << '\t' << constant.unit << '\t'
        << (evaluated.status.Ok() ? FullPrecisionText(evaluated.value)
                                  : StatusText(evaluated.status))
        << '\n';
  }
}

ExitStatus RunFormulas(const std::vector<std::string>& args, CliStreams streams) {
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) return UsageError(streams.err);
  const Options options;
  const auto work = LoadWork(args[0], options, streams);
  if (!work) return ExitStatus::Failed;
  UserFormulas formulas;
  const auto table = PrepareTable(work->session, HiddenFamiliesOf(options),
                                  DerivationFlagsOf(options), FormulaSettingsOf(options), formulas);
  if (!table) return Fail(table.Failure(), streams);
  PrintFormulas(formulas, streams.out);
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"formulas", txt::CliSynopsisFormulas, RunFormulas});

}  // namespace
}  // namespace kinovia::cli
