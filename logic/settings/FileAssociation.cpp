#include "logic/settings/FileAssociation.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/IniFile.h"
#include "core/TextPieces.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

extern char** environ;

namespace kinovia {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEntryName = "kinovia.desktop";
constexpr const char* kMimeName = "kinovia.xml";

// The program's path as one argument of an Exec key: quoted, with the characters the quoting
// reserves escaped, then escaped again as a desktop-entry string ("\" and "%" are special).
std::string ExecArgument(std::string_view path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '%')
      out += "%%";
    else
      out += c;
  }
  return out;
}

std::string MimeTypeXml() {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n" +
         "  <mime-type type=\"" + kWorkFileMimeType + "\">\n" + "    <comment>" +
         XmlEscaped(Txt(txt::AssociationTypeComment)) + "</comment>\n" +
         "    <glob pattern=\"*.knv\"/>\n" + "  </mime-type>\n" + "</mime-info>\n";
}

std::string DesktopEntry(const std::string& executable) {
  IniFile entry;
  const std::string_view section = "Desktop Entry";
  entry.Write(section, "Type", "Application");
  entry.Write(section, "Name", Txt(txt::AppTitle));
  entry.Write(section, "Comment", Txt(txt::AssociationAppComment));
  entry.Write(section, "Exec", ExecArgument(executable) + " %f");
  entry.Write(section, "MimeType", std::string(kWorkFileMimeType) + ";");
  entry.Write(section, "Terminal", "false");
  entry.Write(section, "Categories", "Education;Science;");
  return entry.Text();
}

// Runs a tool found on PATH without a shell, so no folder name is ever read as a command.
void RunIfPresent(const char* tool, const std::string& argument) {
  const char* argv[] = {tool, argument.c_str(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, tool, nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
    return;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

std::optional<std::string> FileAssociation::UserDataHome() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return std::nullopt;
  return (fs::path(home) / ".local" / "share").string();
}

std::string FileAssociation::DesktopEntryPath() const {
  return (fs::path(dataHome_) / "applications" / kEntryName).string();
}

std::string FileAssociation::MimeTypePath() const {
  return (fs::path(dataHome_) / "mime" / "packages" / kMimeName).string();
}

bool FileAssociation::Installed() const {
  std::error_code error;
  return fs::exists(DesktopEntryPath(), error) && fs::exists(MimeTypePath(), error);
}

bool FileAssociation::Install(const std::string& executable) const {
  std::error_code error;
  if (executable.find_first_of("\r\n") != std::string::npos ||
      !fs::is_regular_file(executable, error)) {
    return false;
  }
  fs::create_directories(fs::path(DesktopEntryPath()).parent_path(), error);
  fs::create_directories(fs::path(MimeTypePath()).parent_path(), error);
  const bool written = ReplaceFileContents(MimeTypePath(), MimeTypeXml()) &&
                       ReplaceFileContents(DesktopEntryPath(), DesktopEntry(executable));
  RefreshDesktopCaches();
  return written;
}

bool FileAssociation::Remove() const {
  std::error_code error;
  fs::remove(DesktopEntryPath(), error);
  fs::remove(MimeTypePath(), error);
  RefreshDesktopCaches();
  return !fs::exists(DesktopEntryPath(), error) && !fs::exists(MimeTypePath(), error);
}

void FileAssociation::RefreshDesktopCaches() const {
  std::error_code error;
  if (fs::is_directory(fs::path(MimeTypePath()).parent_path(), error)) {
    RunIfPresent("update-mime-database", (fs::path(dataHome_) / "mime").string());
  }
  if (fs::is_directory(fs::path(DesktopEntryPath()).parent_path(), error)) {
    RunIfPresent("update-desktop-database", (fs::path(dataHome_) / "applications").string());
  }
}

Result<void> ApplyFileAssociation(const FileAssociation& association, bool wanted,
                                  const std::string& executable) {
  const bool installed = association.Installed();
  bool done = true;
  if (wanted && !installed) {
    std::error_code error;
    if (!fs::exists(executable, error)) return {};
    done = association.Install(executable);
  } else if (!wanted && installed) {
    done = association.Remove();
  }
  if (done) return {};
  Message warning{MessageIcon::Warning, {txt::ButtonOk}, {}};
  warning.Line(txt::AssociationWriteError).Blank().Line(txt::AssociationWriteHint);
  return warning;
}

}  // namespace kinovia
