#pragma once
// The text forms of the exported table, built from the lines of the text export (title, date,
// axis angle, symbols, units, descriptions, then one line a data row, cells separated by tabs).
#include <string>
#include <vector>

namespace kinovia {

inline constexpr std::size_t kSymbolLine = 3;
inline constexpr std::size_t kUnitLine = 4;
inline constexpr std::size_t kFirstDataLine = 6;

// The lines joined by line breaks, as the clipboard takes them.
std::string ClipboardText(const std::vector<std::string>& lines);
// Every line ended by a line break, as the text file holds them.
std::string TextFileContents(const std::vector<std::string>& lines);

// Comma-separated values for data tools: one header row "symbol (unit)", then the data rows with
// "." as the decimal mark whatever the regional settings, an undefined value as an empty cell.
std::string CsvContents(const std::vector<std::string>& lines);

// The current local date and time as the second line of the text export gives it.
std::string ExportDateTime();

// The cells of one tab-separated line.
std::vector<std::string> SplitCells(const std::string& line);

}  // namespace kinovia
