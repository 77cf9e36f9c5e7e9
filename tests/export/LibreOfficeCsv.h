#pragma once
// Reads spreadsheets back through the real LibreOffice: each file converted to CSV headless, text
// cells quoted and numbers written in full with ".", so a cell's kind can be told from its text.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kinovia::test {

struct CsvCell {
  std::string text;
  bool quoted = false;
};
using CsvRows = std::vector<std::vector<CsvCell>>;

// A number of the converted text, always with "." whatever the locale of the test.
inline double NumberOf(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
  return value;
}

inline bool HaveLibreOffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

inline CsvRows ParseCsv(const std::string& text) {
  CsvRows rows;
  std::vector<CsvCell> row;
  CsvCell cell;
  bool inQuotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell.text += '"';
        ++i;
      } else if (c == '"') {
        inQuotes = false;
      } else {
        cell.text += c;
      }
    } else if (c == '"') {
      inQuotes = cell.quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(cell));
      cell = {};
    } else if (c == '\n') {
      row.push_back(std::move(cell));
      cell = {};
      rows.push_back(std::move(row));
      row.clear();
    } else if (c != '\r') {
      cell.text += c;
    }
  }
  return rows;
}

// Converts every file in one run of LibreOffice and answers each file's rows, in order.
inline std::vector<CsvRows> ConvertWithLibreOffice(const std::vector<std::string>& files,
                                                   const std::filesystem::path& folder) {
  // Separator ",", quote """, UTF-8, English numbers, every text cell quoted, values in full.
  const std::string filter = "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,true,true,false";
  std::string command = "soffice --headless --norestore -env:UserInstallation=file://" +
                        (folder / "profile").string() + " --convert-to '" + filter + "' --outdir " +
                        (folder / "csv").string();
  for (const auto& file : files) command += " " + file;
  command += " >" + (folder / "soffice.log").string() + " 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<CsvRows> converted;
  for (const auto& file : files) {
    const auto csv =
        folder / "csv" / std::filesystem::path(file).filename().replace_extension("csv");
    std::stringstream text;
    text << std::ifstream(csv).rdbuf();
    converted.push_back(ParseCsv(text.str()));
  }
  return converted;
}

}  // namespace kinovia::test
