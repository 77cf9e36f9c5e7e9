// kinovia-cli export --format txt|xlsx|ods|csv WORK.knv OUT
#include <array>

#include "cli/CliWork.h"
#include "cli/CommandRegistry.h"
#include "media/export/TableExport.h"
#include "resources/TxtCli.h"

namespace kinovia::cli {
namespace {

std::optional<ExportFormat> FormatNamed(const std::string& name) {
  for (const auto format :
       std::array{ExportFormat::Text, ExportFormat::Xlsx, ExportFormat::Ods, ExportFormat::Csv})
    if (ExtensionOf(format) == name) return format;
  return std::nullopt;
}

ExitStatus RunExport(const std::vector<std::string>& args, CliStreams streams) {
  if (args.size() != 4 || args[0] != "--format") return UsageError(streams.err);
  const auto format = FormatNamed(args[1]);
  if (!format) return UsageError(streams.err);
  Options options;
  const auto work = LoadWork(args[2], options, streams);
  if (!work) return ExitStatus::Failed;
  const auto table = WorkTable(*work, options);
  if (!table) return Fail(table.Failure(), streams);
  const auto written = WriteExport(*format, table.Value(), args[3]);
  if (!written) return Fail(written.Failure(), streams);
  return ExitStatus::Ok;
}

const bool registered = RegisterCommand({"export", txt::CliSynopsisExport, RunExport});

}  // namespace
}  // namespace kinovia::cli
