#include "logic/export/RegressiHandOver.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/Files.h"
#include "core/TextPieces.h"
#include "logic/export/TableText.h"

namespace kinovia {
namespace {

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string LoweredName(const std::string& path) {
  return Lowered(std::filesystem::path(path).filename().string());
}

}  // namespace

bool IsRegressiProgram(const std::string& path) {
  const std::string name = LoweredName(path);
  return name == "regressi.exe" || name == "regressi";
}

std::optional<std::string> UsableRegressiPath(const std::string& stored) {
  if (stored.empty() || !IsRegressiProgram(stored) || !IsRegularFile(stored)) return std::nullopt;
  return stored;
}

bool HasUndefinedValue(const std::string& line) {
  const auto cells = SplitCells(line);
  return std::any_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

// Every empty cell, side by side or at either end, becomes "0": replacing tab pairs alone would
// leave one of three adjacent empty cells, and the empty last cell of a line, undefined.
std::string UndefinedAsZeros(const std::string& line) {
  auto cells = SplitCells(line);
  for (auto& cell : cells)
    if (cell.empty()) cell = "0";
  return Joined(cells, '\t');
}

int ResolveUndefinedValues(std::vector<std::string>& lines,
                           const std::function<UndefinedChoice()>& ask) {
  int asked = 0;
  for (std::size_t i = kFirstDataLine; i < lines.size(); ++i) {
    if (!HasUndefinedValue(lines[i])) continue;
    ++asked;
    if (ask() == UndefinedChoice::Continue) continue;
    for (std::size_t j = i; j < lines.size(); ++j) lines[j] = UndefinedAsZeros(lines[j]);
    break;
  }
  return asked;
}

ProgramCall RegressiCall(const std::string& path) {
  if (LoweredName(path).ends_with(".exe")) return {"wine", {path}};
  return {path, {}};
}

}  // namespace kinovia
