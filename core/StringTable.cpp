#include "core/StringTable.h"

#include <fstream>
#include <optional>
#include <unordered_map>

#include "core/Files.h"

namespace kinovia {
namespace {

struct Entry {
  std::string spanish;
  std::optional<std::string> translated;
};

using TextTable = std::unordered_map<std::string_view, Entry>;

TextTable& Table() {
  static TextTable table = {
#define KNV_TEXT(id, text) {#id, {text, std::nullopt}},
#include "resources/strings/all.def"
#undef KNV_TEXT
  };
  return table;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

const std::string& Txt(TxtId id) {
  const auto& entry = Table().at(id.name);
  return entry.translated ? *entry.translated : entry.spanish;
}

std::vector<TxtId> AllTexts() {
  return {
#define KNV_TEXT(id, text) TxtId{#id},
#include "resources/strings/all.def"
#undef KNV_TEXT
  };
}

bool LoadTranslation(const std::string& path) {
  if (!IsRegularFile(path)) return false;
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const auto found = Table().find(std::string_view(line).substr(0, tab));
    if (found != Table().end())
      found->second.translated = Unescape(std::string_view(line).substr(tab + 1));
  }
  return true;
}

void ResetTranslation() {
  for (auto& [name, entry] : Table()) entry.translated.reset();
}

}  // namespace kinovia
