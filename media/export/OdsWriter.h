#pragma once
// The table as an OpenDocument spreadsheet (.ods): a zip package, written with libzip, holding
// our own content.xml, settings.xml (the frozen header rows) and manifest.
#include <string>

#include "core/Result.h"
#include "logic/export/Spreadsheet.h"

namespace kinovia {

// The same cells, widths and frozen rows as the workbook; written beside `path` and renamed over
// it, so a failure leaves nothing under it.
Result<void> WriteOds(const Spreadsheet& sheet, const std::string& path);

// The XML parts, apart so that their text can be checked.
std::string OdsContentXml(const Spreadsheet& sheet);
std::string OdsSettingsXml(const Spreadsheet& sheet);

}  // namespace kinovia
