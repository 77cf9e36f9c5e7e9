#include "core/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kinovia {

std::string TemporaryFolder() {
  std::string folder = "/tmp";
  for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    std::error_code error;
    if (value && *value && std::filesystem::is_directory(value, error)) {
      folder = value;
      break;
    }
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace kinovia
