// kinovia-cli lsq TERMS [FILE]
#include <ostream>

#include "cli/CmdNumerics.h"
#include "core/Enums.h"
#include "core/LeastSquares.h"
#include "core/Numbers.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

ExitStatus RunLsq(const std::vector<std::string>& args, CliStreams streams) {
  if (args.empty() || args.size() > 2) return UsageError(streams.err);
  const auto terms = TextToInteger(args[0]);
  if (!terms) {
    streams.err << PlainText(NumberRejectedMessage(args[0], NumberField::Integer)) << '\n';
    return ExitStatus::Failed;
  }
  const auto points = ReadPoints(args.size() == 2 ? std::optional(args[1]) : std::nullopt, streams);
  if (!points) return ExitStatus::Failed;
  std::vector<double> p;
  const LsqStatus status = LeastSquaresFit(*terms, points->x, points->y, p);
  streams.out << "status\t" << Underlying(status) << '\n';
  if (status != LsqStatus::Ok) return ExitStatus::Failed;
  for (std::size_t j = 0; j < p.size(); ++j)
    streams.out << 'p' << j << '\t' << FullPrecisionText(p[j]) << '\n';
  streams.out << "quality\t" << FullPrecisionText(FitQuality()) << '\n';
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"lsq", txt::CliSynopsisLsq, RunLsq});

}  // namespace
}  // namespace kinovia::cli
