#pragma once
// The table as an Office Open XML workbook (.xlsx): a zip package of our own XML parts, the
// sheet's cells written inline.
#include <string>

#include "core/Result.h"
#include "logic/export/Spreadsheet.h"

namespace kinovia {

// One worksheet: numbers as numbers, texts as texts, header rows frozen, column widths set. The
// workbook is written beside `path` and renamed over it, so a failure leaves nothing under it.
Result<void> WriteXlsx(const Spreadsheet& sheet, const std::string& path);

// The worksheet part, apart so that its text can be checked.
std::string XlsxSheetXml(const Spreadsheet& sheet);

}  // namespace kinovia
