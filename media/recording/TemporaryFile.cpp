#include "media/recording/TemporaryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace kinovia {

// rw-rw-rw- less the umask, like any file the user saves.
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& made) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    made = target;
    made += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::FILE* file = ::fdopen(fd, "wb");
      if (!file) ::close(fd);
      return file;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

void RemoveQuietly(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

}  // namespace kinovia
