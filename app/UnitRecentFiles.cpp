#include "app/UnitRecentFiles.h"

#include <algorithm>

#include "settings/UnitIniFile.h"

namespace kinovia {
namespace {
constexpr const char* kSection = "RecentFiles";
std::string KeyOf(int i) { return "File" + std::to_string(i + 1); }
}  // namespace

void TRecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  files_.insert(files_.begin(), path);
  if (files_.size() > std::size_t(kMaxFiles)) files_.resize(kMaxFiles);
}

void TRecentFiles::Remove(const std::string& path) {
  files_.erase(std::remove(files_.begin(), files_.end(), path), files_.end());
}

void TRecentFiles::Load(const TIniFile& ini) {
  files_.clear();
  for (int i = 0; i < kMaxFiles; ++i) {
    const auto file = ini.Read(kSection, KeyOf(i));
    if (file && !file->empty() && std::find(files_.begin(), files_.end(), *file) == files_.end())
      files_.push_back(*file);
  }
  directory_ = ini.Read("MainForm", "Directory").value_or("");
}

void TRecentFiles::Save(TIniFile& ini) const {
  // Keys past the list are emptied: a shorter list must not leave old names behind.
  for (int i = 0; i < kMaxFiles; ++i)
    ini.Write(kSection, KeyOf(i), i < int(files_.size()) ? files_[i] : std::string());
  ini.Write("MainForm", "Directory", directory_);
}

}  // namespace kinovia
