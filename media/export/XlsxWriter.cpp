#include "media/export/XlsxWriter.h"

#include <locale.h>
#include <xlsxwriter.h>

#include "core/TempFolder.h"
#include "media/export/ExportFileWrite.h"
#include "resources/TxtExport.h"

namespace kinovia {
namespace {

// libxlsxwriter prints numbers with printf, which follows the locale: under a regional setting
// with a decimal comma (Qt installs the user's) the sheet would hold "0,04", which no spreadsheet
// reads. The writing thread alone uses the C numbers while the workbook is written.
class CNumbersOnThisThread {
 public:
  CNumbersOnThisThread()
      : c_(newlocale(LC_NUMERIC_MASK, "C", duplocale(uselocale(nullptr)))),
        previous_(c_ ? uselocale(c_) : nullptr) {}
  ~CNumbersOnThisThread() {
    if (!c_) return;
    uselocale(previous_);
    freelocale(c_);
  }
  CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
  CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

 private:
  locale_t c_;
  locale_t previous_;
};

bool FillWorksheet(lxw_worksheet* worksheet, const Spreadsheet& sheet) {
  for (std::size_t c = 0; c < sheet.columnWidths.size(); ++c) {
    const auto column = static_cast<lxw_col_t>(c);
    if (worksheet_set_column(worksheet, column, column, sheet.columnWidths[c], nullptr) !=
        LXW_NO_ERROR)
      return false;
  }
  if (sheet.headerRows > 0) worksheet_freeze_panes(worksheet, sheet.headerRows, 0);
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const auto row = static_cast<lxw_row_t>(r);
    for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
      const SheetCell& cell = sheet.rows[r][c];
      const auto column = static_cast<lxw_col_t>(c);
      lxw_error error = LXW_NO_ERROR;
      if (cell.kind == SheetCell::Kind::Number)
        error = worksheet_write_number(worksheet, row, column, cell.number, nullptr);
      else if (cell.kind == SheetCell::Kind::Text)
        error = worksheet_write_string(worksheet, row, column, cell.text.c_str(), nullptr);
      if (error != LXW_NO_ERROR) return false;
    }
  }
  return true;
}

bool WriteWorkbook(const Spreadsheet& sheet, const std::string& path) {
  const CNumbersOnThisThread cNumbers;
  std::string scratch = TemporaryFolder();
  // Rows go to disk as they are written: a long table needs no more memory than one row.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = scratch.data();
  lxw_workbook* opened = workbook_new_opt(path.c_str(), &options);
  if (!opened) return false;
  lxw_worksheet* worksheet = workbook_add_worksheet(opened, Txt(txt::ExportSheetName).c_str());
  if (!worksheet || !FillWorksheet(worksheet, sheet)) {
    workbook_close(opened);
    return false;
  }
  return workbook_close(opened) == LXW_NO_ERROR;
}

}  // namespace

Result<void> WriteXlsx(const Spreadsheet& sheet, const std::string& path) {
  return WriteThroughTemporary(
      path, [&](const std::string& temporary) { return WriteWorkbook(sheet, temporary); });
}

}  // namespace kinovia
