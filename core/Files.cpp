#include "core/Files.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string_view>

namespace kinovia {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarker = ".kinovia-";
constexpr std::size_t kUniqueLength = 6;  // mkstemp's XXXXXX

fs::path FolderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

std::string TemporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + std::string(kMarker);
}

// The writer's process number when `name` is one of our temporaries of the file, else 0.
pid_t WriterOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || name.size() - dot - 1 != kUniqueLength) return 0;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dot, pid);
  return error == std::errc() && end == name.data() + dot ? pid : 0;
}

bool Running(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

}  // namespace

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::status(path, error));
}

std::string SaveTemporaryPattern(const std::string& path) {
  const fs::path target(path);
  return (FolderOf(target) / (TemporaryPrefix(target) + std::to_string(::getpid()) + "." +
                              std::string(kUniqueLength, 'X')))
      .string();
}

int RemoveStaleSaveTemporaries(const std::string& path) {
  const fs::path target(path);
  const std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  int removed = 0;
  for (const auto& entry : fs::directory_iterator(FolderOf(target), error)) {
    const pid_t writer = WriterOf(entry.path().filename().string(), prefix);
    if (writer <= 0 || writer == ::getpid() || Running(writer)) continue;
    if (!entry.is_regular_file(error) || entry.is_symlink(error)) continue;
    if (fs::remove(entry.path(), error)) ++removed;
  }
  return removed;
}

}  // namespace kinovia
