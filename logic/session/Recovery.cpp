#include "logic/session/Recovery.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <functional>

#include "core/IniFile.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "Kinovia-recovery-";
constexpr std::string_view kExtension = ".knv";

std::optional<long> ProcessIdOf(const std::string& name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kExtension)) return std::nullopt;
  const std::string_view digits(name.data() + kPrefix.size(),
                                name.size() - kPrefix.size() - kExtension.size());
  long pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return std::nullopt;
  return pid;
}

bool Running(long pid) { return ::kill(pid_t(pid), 0) == 0 || errno == EPERM; }

}  // namespace

std::string RecoveryFilePath(const std::string& folder, long processId) {
  return (fs::path(folder) /
          (std::string(kPrefix) + std::to_string(processId) + std::string(kExtension)))
      .string();
}

std::vector<std::string> OrphanRecoveryFiles(const std::string& folder) {
  std::vector<std::pair<fs::file_time_type, std::string>> found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const auto pid = ProcessIdOf(entry.path().filename().string());
    if (!pid || *pid == long(::getpid()) || Running(*pid) || !entry.is_regular_file(error))
      continue;
    found.push_back({entry.last_write_time(error), entry.path().string()});
  }
  std::sort(found.begin(), found.end(), std::greater<>());
  std::vector<std::string> paths;
  for (auto& [time, path] : found) paths.push_back(std::move(path));
  return paths;
}

bool RecoveryKeeper::NoteChange() { return ++changes_ >= kRecoveryChangeCount; }

bool RecoveryKeeper::Differs(const WorkFileContent& work) const {
  WorkFileContent shown = work;
  shown.imageNumber = baseline_.imageNumber;
  return !(shown == baseline_);
}

bool RecoveryKeeper::Write(const WorkFileContent& work) {
  IniFile ini;
  WriteWorkFile(ini, work);
  if (!ReplaceFileContents(path_, ini.Text())) return false;
  changes_ = 0;
  baseline_ = work;
  return true;
}

void RecoveryKeeper::Discard(const WorkFileContent& work) {
  changes_ = 0;
  baseline_ = work;
  RemoveRecoveryFile(path_);
}

void RemoveRecoveryFile(const std::string& path) {
  std::error_code error;
  fs::remove(path, error);
}

}  // namespace kinovia
