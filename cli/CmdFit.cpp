// kinovia-cli fit MODEL [--names Y,X] [FILE]
#include <ostream>

#include "cli/CmdNumerics.h"
#include "core/Numbers.h"
#include "logic/models/Models.h"
#include "resources/TxtCli.h"
#include "resources/TxtGraphs.h"

namespace kinovia::cli {
namespace {

ModelKind ModelNamed(std::string_view name) {
  const std::pair<std::string_view, ModelKind> kinds[] = {
      {"constant", ModelKind::Constant},         {"affine", ModelKind::Affine},
      {"proportional", ModelKind::Proportional}, {"parabola", ModelKind::Parabola},
      {"exponential", ModelKind::Exponential},   {"sinus", ModelKind::Sinus},
      {"sinus-exp", ModelKind::SinusExp},        {"sinus-lin", ModelKind::SinusLin},
  };
  for (const auto& [known, kind] : kinds)
    if (name == known) return kind;
  return ModelKind::None;
}

struct FitCommand {
  ModelKind kind = ModelKind::None;
  std::string ordinate = "y";
  std::string abscissa = "x";
  std::optional<std::string> file;
};

std::optional<FitCommand> ParseFit(const std::vector<std::string>& args) {
  if (args.empty()) return std::nullopt;
  FitCommand command;
  command.kind = ModelNamed(args[0]);
  if (command.kind == ModelKind::None) return std::nullopt;
  std::size_t next = 1;
  if (next < args.size() && args[next] == "--names") {
    if (next + 1 >= args.size()) return std::nullopt;
    const std::string& names = args[next + 1];
    const auto comma = names.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == names.size()) return std::nullopt;
    command.ordinate = names.substr(0, comma);
    command.abscissa = names.substr(comma + 1);
    next += 2;
  }
  if (next < args.size()) command.file = args[next++];
  if (next != args.size()) return std::nullopt;
  return command;
}

ExitStatus RunFit(const std::vector<std::string>& args, CliStreams streams) {
  const auto command = ParseFit(args);
  if (!command) return UsageError(streams.err);
  const auto points = ReadPoints(command->file, streams);
  if (!points) return ExitStatus::Failed;
  if (points->x.empty()) {
    streams.err << Txt(txt::FitNoPoints) << '\n';
    return ExitStatus::Failed;
  }
  const auto model = MakeModel(command->kind);
  model->Fit(points->x, points->y);
  // Named as the graph names them beside its curve.
  for (const auto& line :
       model->GetParamTexts(ShortName(command->ordinate), ShortName(command->abscissa)))
    streams.out << line << '\n';
  for (const auto& line : model->GetStatTexts()) streams.out << line << '\n';
  streams.out << "params";
  for (double p : model->Params()) streams.out << '\t' << FullPrecisionText(p);
  streams.out << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"fit", txt::CliSynopsisFit, RunFit});

}  // namespace
}  // namespace kinovia::cli
