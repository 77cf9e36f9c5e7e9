#include "gui/RecentFiles.h"

#include <algorithm>

#include "logic/settings/OptionsFile.h"

namespace kinovia {

void RecentFiles::SetLimit(int limit) {
  if (limit <= 0) return;
  limit_ = limit;
  if (files_.size() > std::size_t(limit_)) files_.resize(std::size_t(limit_));
}

void RecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  files_.insert(files_.begin(), path);
  if (files_.size() > std::size_t(limit_)) files_.resize(std::size_t(limit_));
}

void RecentFiles::Remove(const std::string& path) {
  files_.erase(std::remove(files_.begin(), files_.end(), path), files_.end());
}

void RecentFiles::Load(const IniFile& ini) {
  files_.clear();
  for (const auto& file : ReadIniList(ini, ini_section::kRecentFiles, "File"))
    if (files_.size() < std::size_t(limit_) &&
        std::find(files_.begin(), files_.end(), file) == files_.end())
      files_.push_back(file);
  directory_ = ini.Read(ini_section::kMainForm, "Directory").value_or("");
}

void RecentFiles::Save(IniFile& ini) const {
  WriteIniList(ini, ini_section::kRecentFiles, "File", files_);
  ini.Write(ini_section::kMainForm, "Directory", directory_);
}

}  // namespace kinovia
