#include "settings/UnitOptionsFile.h"

namespace kinovia {

TIniFile ReadOptionsFile(const std::string& path) {
  TIniFile ini;
  ini.Load(path);
  return ini;
}

bool UpdateOptionsFile(const std::string& path, const std::function<void(TIniFile&)>& change) {
  TIniFile ini;
  const TIniLoad loaded = ini.Load(path);
  if (loaded == TIniLoad::Unreadable) return false;  // never overwrite what we could not read
  change(ini);
  return ini.Save(path);
}

std::vector<std::string> ReadIniList(const TIniFile& ini, std::string_view section,
                                     std::string_view prefix) {
  std::vector<std::string> items;
  for (std::size_t i = 1;; ++i) {
    auto item = ini.Read(section, std::string(prefix) + std::to_string(i));
    if (!item) break;
    items.push_back(std::move(*item));
  }
  return items;
}

void WriteIniList(TIniFile& ini, std::string_view section, std::string_view prefix,
                  const std::vector<std::string>& items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    ini.Write(section, std::string(prefix) + std::to_string(i + 1), items[i]);
  }
  for (std::size_t i = items.size() + 1;; ++i) {
    const std::string key = std::string(prefix) + std::to_string(i);
    if (!ini.Read(section, key)) break;
    ini.EraseKey(section, key);
  }
}

}  // namespace kinovia
