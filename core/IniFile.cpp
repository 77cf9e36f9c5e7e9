#include "core/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/Files.h"
#include "core/Numbers.h"

namespace kinovia {
namespace {

std::string Fold(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// A line break inside a value would end the line and let the rest pass for keys of its own.
std::string OneLine(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

// New files get the permissions the user's umask allows; a replaced file keeps its own.
mode_t ModeFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool IsCrLfText(std::string_view text) {
  bool any = false;
  for (auto at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') return false;
    any = true;
  }
  return any;
}

}  // namespace

IniLoad IniFile::Load(const std::string& path) {
  Clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return IniLoad::Missing;
  if (!IsRegularFile(path)) return IniLoad::Unreadable;
  RemoveStaleSaveTemporaries(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniLoad::Unreadable;
  std::string text;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileSize) return IniLoad::TooLarge;
  }
  if (in.bad()) return IniLoad::Unreadable;
  return Parse(text) ? IniLoad::Loaded : IniLoad::TooLarge;
}

void IniFile::Clear() {
  sections_.assign(1, {});
  sectionIndex_.clear();
  lineEnd_ = "\n";
}

bool IniFile::Parse(std::string_view text) {
  Clear();
  if (text.size() > kMaxFileSize ||
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= kMaxLineCount) {
    return false;
  }
  // A file is kept in CR LF only when every line of it ends so; a stray CR then stays part of its
  // line, and a save gives back the same bytes.
  const bool crlf = IsCrLfText(text);
  if (crlf) lineEnd_ = "\r\n";
  while (!text.empty()) {
    const auto cut = text.find('\n');
    std::string_view line = text.substr(0, cut);
    text.remove_prefix(cut == std::string_view::npos ? text.size() : cut + 1);
    if (crlf && cut != std::string_view::npos) line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      const std::string_view name = Trim(trimmed.substr(1, trimmed.find(']') - 1));
      sections_.push_back({std::string(name), {MakeLine(std::string(line))}, {}});
      sectionIndex_.emplace(Fold(name), sections_.size() - 1);  // the first of twins wins
    } else {
      AddLine(sections_.back(), MakeLine(std::string(line)));
    }
  }
  return true;
}

IniFile::Line IniFile::MakeLine(std::string text) {
  Line line{std::move(text)};
  const std::string_view view(line.text);
  const auto equal = view.find('=');
  if (equal == std::string_view::npos || (!view.empty() && Trim(view).front() == '[')) return line;
  const std::string_view key = Trim(view.substr(0, equal));
  if (key.empty() || key.front() == ';') return line;
  const std::string_view value = Trim(view.substr(equal + 1));
  line.keyStart = static_cast<std::uint32_t>(key.data() - view.data());
  line.keyLength = static_cast<std::uint32_t>(key.size());
  line.valueStart = static_cast<std::uint32_t>(value.data() - view.data());
  line.valueLength = static_cast<std::uint32_t>(value.size());
  return line;
}

void IniFile::AddLine(Section& section, Line line) {
  if (line.keyLength > 0) section.index.emplace(Fold(line.Key()), section.lines.size());
  section.lines.push_back(std::move(line));
}

std::string IniFile::Text() const {
  std::string out;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      out += line.text;
      out += lineEnd_;
    }
  }
  return out;
}

bool ReplaceFileContents(const std::string& path, std::string_view text) {
  // A killed save leaves its temporary behind; the next save of the file clears it away.
  RemoveStaleSaveTemporaries(path);
  std::string temporary = SaveTemporaryPattern(path);
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  const bool written = ::fchmod(fd, ModeFor(path)) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool IniFile::Save(const std::string& path) const { return ReplaceFileContents(path, Text()); }

const IniFile::Section* IniFile::Find(std::string_view section) const {
  const auto found = sectionIndex_.find(Fold(section));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniFile::Section& IniFile::FindOrAdd(std::string_view section) {
  const std::string name = OneLine(Trim(section));
  const auto found = sectionIndex_.find(Fold(name));
  if (found != sectionIndex_.end()) return sections_[found->second];
  sections_.push_back({name, {MakeLine("[" + name + "]")}, {}});
  sectionIndex_.emplace(Fold(name), sections_.size() - 1);
  return sections_.back();
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  const Section* found = Find(section);
  if (!found) return std::nullopt;
  const auto line = found->index.find(Fold(Trim(key)));
  if (line == found->index.end()) return std::nullopt;
  return std::string(found->lines[line->second].Value());
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string cleanKey = OneLine(Trim(key));
  if (cleanKey.empty()) return;
  Section& target = FindOrAdd(section);
  Line line = MakeLine(cleanKey + "=" + OneLine(value));
  const auto found = target.index.find(Fold(cleanKey));
  if (found != target.index.end()) {
    target.lines[found->second] = std::move(line);
    return;
  }
  // Blank lines that close a section stay after its keys.
  const std::size_t header = target.name.empty() ? 0 : 1;
  std::size_t at = target.lines.size();
  while (at > header && Trim(target.lines[at - 1].text).empty()) --at;
  target.index.emplace(Fold(cleanKey), at);
  target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
  const auto found = sectionIndex_.find(Fold(Trim(section)));
  if (found == sectionIndex_.end()) return;
  Section& target = sections_[found->second];
  const auto line = target.index.find(Fold(Trim(key)));
  if (line == target.index.end()) return;
  const std::size_t at = line->second;
  target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(at));
  target.index.erase(line);
  for (auto& [name, index] : target.index) {
    if (index > at) --index;
  }
}

bool IniFile::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = Find(section)) {
    for (const Line& line : found->lines) {
      if (line.keyLength > 0) keys.emplace_back(line.Key());
    }
  }
  return keys;
}

std::int32_t ReadIniInteger(const IniFile& ini, std::string_view section, std::string_view key,
                            std::int32_t byDefault) {
  const auto text = ini.Read(section, key);
  return text ? TextToInteger(*text).value_or(byDefault) : byDefault;
}

bool ReadIniBool(const IniFile& ini, std::string_view section, std::string_view key,
                 bool byDefault) {
  return ReadIniInteger(ini, section, key, byDefault ? 1 : 0) != 0;
}

std::string ReadIniString(const IniFile& ini, std::string_view section, std::string_view key,
                          std::string_view byDefault) {
  return ini.Read(section, key).value_or(std::string(byDefault));
}

void WriteIniInteger(IniFile& ini, std::string_view section, std::string_view key,
                     std::int64_t value) {
  ini.Write(section, key, std::to_string(value));
}

void WriteIniBool(IniFile& ini, std::string_view section, std::string_view key, bool value) {
  ini.Write(section, key, value ? "1" : "0");
}

}  // namespace kinovia
