#include "logic/settings/OptionsFile.h"

namespace kinovia {

IniFile ReadOptionsFile(const std::string& path) {
  IniFile ini;
  ini.Load(path);
  return ini;
}

bool UpdateOptionsFile(const std::string& path, const std::function<void(IniFile&)>& change) {
  IniFile ini;
  const IniLoad loaded = ini.Load(path);
  if (loaded == IniLoad::Unreadable) return false;  // never overwrite what we could not read
  change(ini);
  return ini.Save(path);
}

std::vector<std::string> ReadIniList(const IniFile& ini, std::string_view section,
                                     std::string_view prefix) {
  std::vector<std::string> items;
  for (std::size_t i = 1;; ++i) {
    auto item = ini.Read(section, std::string(prefix) + std::to_string(i));
    if (!item) break;
    items.push_back(std::move(*item));
  }
  return items;
}

void WriteIniList(IniFile& ini, std::string_view section, std::string_view prefix,
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
