#pragma once
// The files the table is exported to, written the same way from the results window and from
// kinovia-cli.
#include <string>
#include <string_view>
#include <vector>

#include "core/Result.h"
#include "logic/export/ExportedTable.h"

namespace kinovia {

enum class ExportFormat { Text, Xlsx, Ods, Csv };

// "txt", "xlsx", "ods", "csv".
std::string_view ExtensionOf(ExportFormat format);

// The path with its extension replaced by (or, without one, given) the format's own.
std::string WithExtension(const std::string& path, ExportFormat format);

// Writes the whole file or leaves nothing under `path`; the failure's message otherwise.
Result<void> WriteExport(ExportFormat format, const ExportedTable& table, const std::string& path);

// A name in the temporary folder that no file has yet, for a workbook opened at once.
std::string FreshWorkbookPath(ExportFormat format);

}  // namespace kinovia
