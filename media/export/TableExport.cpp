#include "media/export/TableExport.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/IniFile.h"
#include "core/TempFolder.h"
#include "logic/export/Spreadsheet.h"
#include "logic/export/TableText.h"
#include "media/export/ExportFileWrite.h"
#include "media/export/OdsWriter.h"
#include "media/export/XlsxWriter.h"

namespace kinovia {

std::string_view ExtensionOf(ExportFormat format) {
  switch (format) {
    case ExportFormat::Xlsx:
      return "xlsx";
    case ExportFormat::Ods:
      return "ods";
    case ExportFormat::Csv:
      return "csv";
    case ExportFormat::Text:
      break;
  }
  return "txt";
}

std::string WithExtension(const std::string& path, ExportFormat format) {
  std::filesystem::path forced(path);
  forced.replace_extension(ExtensionOf(format));
  return forced.string();
}

Result<void> WriteExport(ExportFormat format, const ExportedTable& table, const std::string& path) {
  switch (format) {
    case ExportFormat::Xlsx:
      return WriteXlsx(SpreadsheetOf(table.matrix), path);
    case ExportFormat::Ods:
      return WriteOds(SpreadsheetOf(table.matrix), path);
    case ExportFormat::Csv:
      if (!ReplaceFileContents(path, CsvContents(table.lines))) return ExportFileFailure();
      return {};
    case ExportFormat::Text:
      break;
  }
  if (!ReplaceFileContents(path, TextFileContents(table.lines))) return ExportFileFailure();
  return {};
}

std::string FreshWorkbookPath(ExportFormat format) {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &local);
  const std::string stem = TemporaryFolder() + "Tabla_" + stamp;
  const std::string extension = "." + std::string(ExtensionOf(format));
  std::string path = stem + extension;
  for (int n = 2; std::filesystem::exists(path); ++n)
    path = stem + "_" + std::to_string(n) + extension;
  return path;
}

}  // namespace kinovia
