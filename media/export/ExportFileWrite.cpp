#include "media/export/ExportFileWrite.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/Files.h"
#include "resources/TxtCommon.h"
#include "resources/TxtExport.h"

namespace kinovia {

Message ExportFileFailure() {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::ExportFileFailed).Blank().Line(txt::ExportFileRights);
  return m;
}

Result<void> WriteThroughTemporary(const std::string& path,
                                   const std::function<bool(const std::string&)>& write) {
  RemoveStaleSaveTemporaries(path);
  std::string temporary = SaveTemporaryPattern(path);
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return ExportFileFailure();
  // mkstemp makes the file private; an export is an ordinary document.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool ready = ::fchmod(fd, 0666 & ~mask) == 0;
  ::close(fd);
  if (!ready || !write(temporary) || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return ExportFileFailure();
  }
  return {};
}

}  // namespace kinovia
