#pragma once
// The recent-files list of the Archivo menu and the last folder used, kept in the options file.
#include <string>
#include <vector>

namespace kinovia {

class IniFile;

class RecentFiles {
 public:
  static constexpr int kDefaultLimit = 8;

  // The longest list kept (the options' value); 0 leaves the limit as it is.
  void SetLimit(int limit);

  // Puts the file first; a file already listed moves up instead of appearing twice.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  const std::vector<std::string>& Files() const { return files_; }

  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string folder) { directory_ = std::move(folder); }

  // Section "RecentFiles" (keys "File1" upwards) and key "Directory" of section "MainForm".
  void Load(const IniFile& ini);
  void Save(IniFile& ini) const;

 private:
  std::vector<std::string> files_;
  std::string directory_;
  int limit_ = kDefaultLimit;
};

}  // namespace kinovia
