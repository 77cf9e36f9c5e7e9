#include "logic/export/TableText.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

#include "core/Numbers.h"
#include "core/TextPieces.h"

namespace kinovia {
namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The shortest text that reads back as the same double, always with ".".
std::string CsvNumber(const std::string& cell) {
  const auto value = TextToReal(NormalizeDecimalSeparator(cell));
  if (!value || !std::isfinite(*value)) return {};
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *value);
  return error == std::errc() ? std::string(buffer, end) : std::string();
}

void AppendCsvRow(std::string& out, std::vector<std::string> fields) {
  for (auto& field : fields) field = CsvField(field);
  out += Joined(fields, ',') + '\n';
}

}  // namespace

std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return cells;
    start = tab + 1;
  }
}

std::string ExportDateTime() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return text;
}

std::string ClipboardText(const std::vector<std::string>& lines) { return Joined(lines, '\n'); }

std::string TextFileContents(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + '\n';
  return text;
}

std::string CsvContents(const std::vector<std::string>& lines) {
  std::string out;
  if (lines.size() <= kUnitLine) return out;
  const auto symbols = SplitCells(lines[kSymbolLine]);
  const auto units = SplitCells(lines[kUnitLine]);
  std::vector<std::string> header;
  for (std::size_t c = 0; c < symbols.size(); ++c) {
    const std::string unit = c < units.size() ? units[c] : std::string();
    header.push_back(unit.empty() ? symbols[c] : symbols[c] + " (" + unit + ")");
  }
  AppendCsvRow(out, header);
  for (std::size_t i = kFirstDataLine; i < lines.size(); ++i) {
    std::vector<std::string> row;
    for (const auto& cell : SplitCells(lines[i])) row.push_back(CsvNumber(cell));
    AppendCsvRow(out, row);
  }
  return out;
}

}  // namespace kinovia
