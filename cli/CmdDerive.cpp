// kinovia-cli derive [--smooth] T [FILE]
#include <ostream>

#include "cli/CmdNumerics.h"
#include "core/Enums.h"
#include "core/Numbers.h"
#include "logic/results/Derivation.h"
#include "resources/TxtCli.h"
#include "resources/TxtResults.h"

namespace kinovia::cli {
namespace {

// The derivation divides by the interval and by the gaps between abscissas: refuse what would
// make those divisions meaningless instead of printing infinities.
bool CheckSeries(double interval, const PointColumns& points, std::ostream& err) {
  if (!(interval > 0) || IsHuge(interval)) {
    err << Txt(txt::DerivIntervalNotPositive) << '\n';
    return false;
  }
  for (std::size_t i = 1; i < points.x.size(); ++i) {
    if (!(points.x[i] > points.x[i - 1])) {
      err << Txt(txt::DerivAbscissasNotIncreasing) << '\n';
      return false;
    }
  }
  return true;
}

ExitStatus RunDerive(const std::vector<std::string>& args, CliStreams streams) {
  const bool smooth = !args.empty() && args[0] == "--smooth";
  const std::size_t first = smooth ? 1 : 0;
  if (args.size() < first + 1 || args.size() > first + 2) return UsageError(streams.err);
  const auto interval = TextToReal(NormalizeDecimalSeparator(args[first]));
  if (!interval) {
    streams.err << PlainText(NumberRejectedMessage(args[first], NumberField::Real)) << '\n';
    return ExitStatus::Failed;
  }
  const auto file = args.size() == first + 2 ? std::optional(args[first + 1]) : std::nullopt;
  const auto points = ReadPoints(file, streams);
  if (!points || !CheckSeries(*interval, *points, streams.err)) return ExitStatus::Failed;
  Derivation deriv;
  deriv.SetData(points->x, points->y, *interval);
  const DerivationStatus status = deriv.Compute(smooth);
  streams.out << "status\t" << Underlying(status) << '\n';
  if (status != DerivationStatus::Ok) return ExitStatus::Failed;
  for (std::size_t i = 0; i < points->x.size(); ++i) {
    streams.out << FullPrecisionText(points->x[i]) << '\t' << FullPrecisionText(points->y[i])
                << '\t' << FullPrecisionText(deriv.First()[i]) << '\t'
                << FullPrecisionText(deriv.Second()[i]) << '\n';
  }
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"derive", txt::CliSynopsisDerive, RunDerive});

}  // namespace
}  // namespace kinovia::cli
