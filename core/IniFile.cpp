#include "core/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/Files.h"
#include "core/Numbers.h"

namespace kinovia {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// FNV-1a of the lower-case name, its bits mixed at the end: the table takes the low bits, which
// FNV alone leaves clustered for names that differ only in their last digits.
std::uint32_t FoldedHash(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(Lower(c));
    hash *= 16777619u;
  }
  hash ^= hash >> 16;
  hash *= 0x85ebca6bu;
  hash ^= hash >> 13;
  hash *= 0xc2b2ae35u;
  hash ^= hash >> 16;
  return hash;
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

// How many lines each section holds, the lines before the first header first: each list of
// lines is then sized once. Past the number of sections a file may have, the rest count as one.
std::vector<std::size_t> LinesBySection(std::string_view all) {
  std::vector<std::size_t> counts(1, 0);
  for (std::size_t at = 0; at < all.size();) {
    const auto cut = all.find('\n', at);
    const std::size_t end = cut == std::string_view::npos ? all.size() : cut;
    const std::string_view trimmed = Trim(all.substr(at, end - at));
    if (!trimmed.empty() && trimmed.front() == '[' && counts.size() <= IniFile::kMaxSectionCount)
      counts.push_back(0);
    ++counts.back();
    at = cut == std::string_view::npos ? all.size() : cut + 1;
  }
  return counts;
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

// Closes the file whatever way the reading ends.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// The whole file, or nullopt when it cannot be read; `tooLarge` tells a file past `limit`.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit,
                                         bool& tooLarge) {
  tooLarge = false;
  const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat facts {};
  if (file.fd < 0 || ::fstat(file.fd, &facts) != 0) return std::nullopt;
  if (static_cast<std::uint64_t>(facts.st_size) > limit) {
    tooLarge = true;
    return std::nullopt;
  }
  // One byte more than the size shows a file that grew meanwhile without a second read.
  std::string text(static_cast<std::size_t>(facts.st_size) + 1, '\0');
  std::size_t got = 0;
  for (;;) {
    if (got == text.size()) {
      if (got > limit) {
        tooLarge = true;
        return std::nullopt;
      }
      text.resize(2 * text.size());
    }
    const ssize_t n = ::read(file.fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  text.resize(got);
  tooLarge = got > limit;
  if (tooLarge) return std::nullopt;
  return text;
}

}  // namespace

template <class NameOf>
std::optional<std::size_t> IniFile::FoldedIndex::Find(std::string_view name,
                                                      const NameOf& nameOf) const {
  if (slots_.empty()) return std::nullopt;
  const std::uint32_t hash = FoldedHash(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.id == 0) return std::nullopt;
    if (slot.hash == hash && SameFolded(nameOf(slot.id - 1), name)) return slot.id - 1;
  }
}

// One walk along the probe sequence both finds a twin and reaches the free slot: a long file
// pays for one probe per key, not two.
template <class NameOf>
std::optional<std::size_t> IniFile::FoldedIndex::InsertOrFind(std::string_view name, std::size_t id,
                                                              const NameOf& nameOf) {
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const std::uint32_t hash = FoldedHash(name);
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  for (; slots_[at].id != 0; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.hash == hash && SameFolded(nameOf(slot.id - 1), name)) return slot.id - 1;
  }
  slots_[at] = {static_cast<std::uint32_t>(id + 1), hash};
  ++count_;
  return std::nullopt;
}

template <class NameOf>
bool IniFile::FoldedIndex::Insert(std::string_view name, std::size_t id, const NameOf& nameOf) {
  return !InsertOrFind(name, id, nameOf).has_value();
}

void IniFile::FoldedIndex::Grow() {
  std::vector<Slot> old(std::max<std::size_t>(16, 2 * slots_.size()));
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.id == 0) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].id != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

void IniFile::FoldedIndex::Reserve(std::size_t names) {
  std::size_t size = 16;
  while (size < 2 * names) size *= 2;
  if (size <= slots_.size()) return;
  slots_.reserve(size);
  while (slots_.size() < size) Grow();
}

void IniFile::FoldedIndex::Clear() {
  slots_.clear();
  count_ = 0;
}

IniLoad IniFile::Load(const std::string& path) {
  Clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return IniLoad::Missing;
  if (!IsRegularFile(path)) return IniLoad::Unreadable;
  RemoveStaleSaveTemporaries(path);
  bool tooLarge = false;
  auto text = ReadWholeFile(path, kMaxFileSize, tooLarge);
  if (!text) return tooLarge ? IniLoad::TooLarge : IniLoad::Unreadable;
  text_ = std::move(*text);
  return ParseText() ? IniLoad::Loaded : IniLoad::TooLarge;
}

void IniFile::Clear() {
  text_.clear();
  sections_.assign(1, {});
  sectionIndex_.Clear();
  lineEnd_ = "\n";
}

bool IniFile::Parse(std::string_view text) {
  Clear();
  if (text.size() > kMaxFileSize) return false;
  text_.assign(text);
  return ParseText();
}

// One pass over text_: each line is cut where it stands, never copied.
bool IniFile::ParseText() {
  const std::string_view all(text_);
  // Counted before anything is built, so that damage costs no memory; a quick scan beside the
  // parse that follows.
  const std::size_t maxLines = std::min(kMaxLineCount, all.size() / kMinBytesPerLine + 65536);
  if (static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) >= maxLines) {
    Clear();
    return false;
  }
  const std::vector<std::size_t> sectionLines = LinesBySection(all);
  sections_.back().lines.reserve(sectionLines.front());
  // A file is kept in CR LF only when every line of it ends so; a stray CR then stays part of its
  // line, and a save gives back the same bytes.
  bool crlf = true, anyBreak = false;
  for (std::size_t at = 0; at < all.size();) {
    const auto cut = all.find('\n', at);
    const std::size_t end = cut == std::string_view::npos ? all.size() : cut;
    if (sections_.size() > kMaxSectionCount) {
      Clear();
      return false;
    }
    if (cut != std::string_view::npos) {
      anyBreak = true;
      crlf = crlf && end > at && all[end - 1] == '\r';
    }
    const Line line = SpanLine(at, end - at);
    const std::string_view trimmed = Trim(LineText(line));
    if (!trimmed.empty() && trimmed.front() == '[') {
      Section& section =
          AddSection(std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1))), line);
      if (sections_.size() <= sectionLines.size())
        section.lines.reserve(sectionLines[sections_.size() - 1]);
    } else {
      sections_.back().lines.push_back(line);
    }
    at = cut == std::string_view::npos ? all.size() : cut + 1;
  }
  for (Section& section : sections_) SortKeys(section, SortedHashes(section.lines));
  if (crlf && anyBreak) EndLinesWithCrLf();
  return true;
}

// The CR of every line that ends with a line break leaves the line: the keys and values never
// held it, trimmed as they are.
void IniFile::EndLinesWithCrLf() {
  lineEnd_ = "\r\n";
  const bool lastBroken = text_.back() == '\n';
  for (Section& section : sections_) {
    for (Line& line : section.lines) {
      const bool last = &section == &sections_.back() && &line == &section.lines.back();
      if (!last || lastBroken) --line.length;
    }
  }
}

std::string_view IniFile::LineText(const Line& line) const {
  return std::string_view(text_).substr(line.start, line.length);
}

std::string_view IniFile::KeyOf(const Line& line) const {
  return std::string_view(text_.data() + line.start + line.keyStart, line.keyLength);
}

std::string_view IniFile::ValueOf(const Line& line) const {
  return std::string_view(text_.data() + line.start + line.valueStart, line.valueLength);
}

IniFile::Line IniFile::SpanLine(std::size_t start, std::size_t length) const {
  Line line{start, static_cast<std::uint32_t>(length)};
  const std::string_view view = LineText(line);
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

IniFile::Line IniFile::AppendLine(std::string_view text) {
  const std::size_t start = text_.size();
  text_.append(text);
  return SpanLine(start, text.size());
}

// "key=value" appended straight to the text, its line breaks made spaces: a long save builds no
// string of its own for each key.
IniFile::Line IniFile::AppendKeyLine(std::string_view key, std::string_view value) {
  const std::size_t start = text_.size();
  text_.append(key).append(1, '=').append(value);
  for (std::size_t i = start; i < text_.size(); ++i) {
    if (text_[i] == '\n' || text_[i] == '\r') text_[i] = ' ';
  }
  return SpanLine(start, text_.size() - start);
}

bool IniFile::Holds(std::string_view part) const {
  return !part.empty() && std::less_equal<>()(text_.data(), part.data()) &&
         std::less<>()(part.data(), text_.data() + text_.size());
}

IniFile::Section& IniFile::AddSection(std::string name, Line header) {
  Section& section = sections_.emplace_back();
  section.name = std::move(name);
  section.lines.push_back(header);
  sectionIndex_.Insert(section.name, sections_.size() - 1,
                       [this](std::size_t id) -> std::string_view { return sections_[id].name; });
  return section;
}

void IniFile::IndexKeys(Section& section) {
  section.index.Clear();
  section.sorted.clear();
  section.sorted.shrink_to_fit();
  section.hashed = true;
  section.twins = false;
  section.index.Reserve(static_cast<std::size_t>(std::count_if(
      section.lines.begin(), section.lines.end(), [](const Line& l) { return l.keyLength > 0; })));
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    if (section.lines[i].keyLength == 0) continue;
    if (!section.index.Insert(KeyOf(section.lines[i]), i,
                              [&](std::size_t id) { return KeyOf(section.lines[id]); })) {
      section.twins = true;
    }
  }
}

// The hashes are sorted by radix: streaming through memory, where a hash table of a long file's
// keys costs a cache miss a key.
std::vector<std::uint64_t> IniFile::SortedHashes(const std::vector<Line>& lines) const {
  std::vector<std::uint64_t> keys;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].keyLength > 0)
      keys.push_back(std::uint64_t{FoldedHash(KeyOf(lines[i]))} << 32 | i);
  }
  // Line numbers are unique: sorting the whole words puts equal hashes in line order. A short
  // list is sorted in place; a long one by two stable passes over the hash's halves.
  if (keys.size() < 16384) {
    std::sort(keys.begin(), keys.end());
    return keys;
  }
  std::vector<std::uint64_t> spare(keys.size());
  for (const int shift : {32, 48}) {
    std::vector<std::size_t> starts(65537, 0);
    for (const std::uint64_t key : keys) ++starts[((key >> shift) & 0xFFFF) + 1];
    for (std::size_t d = 1; d < starts.size(); ++d) starts[d] += starts[d - 1];
    for (const std::uint64_t key : keys) spare[starts[(key >> shift) & 0xFFFF]++] = key;
    keys.swap(spare);
  }
  return keys;
}

// A file just read is looked up through its keys' sorted hashes; the hash table is built only
// when the section is written.
void IniFile::SortKeys(Section& section, std::vector<std::uint64_t> keys) {
  section.index.Clear();
  section.hashed = false;
  section.twins = false;
  for (std::size_t i = 1; i < keys.size() && !section.twins; ++i) {
    for (std::size_t j = i; j-- > 0 && keys[j] >> 32 == keys[i] >> 32;) {
      if (SameFolded(KeyOf(section.lines[keys[j] & 0xFFFFFFFF]),
                     KeyOf(section.lines[keys[i] & 0xFFFFFFFF]))) {
        section.twins = true;
        break;
      }
    }
  }
  section.sorted = std::move(keys);
}

std::optional<std::size_t> IniFile::FindKey(const Section& section, std::string_view key) const {
  const auto keyOf = [&](std::size_t id) { return KeyOf(section.lines[id]); };
  if (section.hashed) return section.index.Find(key, keyOf);
  const std::uint64_t hash = FoldedHash(key);
  auto at = std::lower_bound(section.sorted.begin(), section.sorted.end(), hash << 32);
  // Twins sit together, the first line first.
  for (; at != section.sorted.end() && *at >> 32 == hash; ++at) {
    if (SameFolded(keyOf(*at & 0xFFFFFFFF), key)) return *at & 0xFFFFFFFF;
  }
  return std::nullopt;
}

IniFile::Section& IniFile::Hashed(Section& section) {
  if (!section.hashed) IndexKeys(section);
  return section;
}

std::string IniFile::Text() const {
  std::size_t size = 0;
  for (const Section& section : sections_)
    for (const Line& line : section.lines) size += line.length + lineEnd_.size();
  std::string out;
  out.reserve(size);
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      out += LineText(line);
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
  const auto found = sectionIndex_.Find(
      section, [this](std::size_t id) -> std::string_view { return sections_[id].name; });
  return found ? &sections_[*found] : nullptr;
}

IniFile::Section& IniFile::FindOrAdd(std::string_view section) {
  // A name without line breaks is looked up as it is; one with them as the file will hold it.
  const std::string_view trimmed = Trim(section);
  if (trimmed.find_first_of("\r\n") == std::string_view::npos) {
    if (const Section* found = Find(trimmed)) return const_cast<Section&>(*found);
  }
  const std::string name = OneLine(trimmed);
  if (const Section* found = Find(name)) return const_cast<Section&>(*found);
  return AddSection(name, AppendLine("[" + name + "]"));
}

std::optional<std::string_view> IniFile::ReadView(std::string_view section,
                                                  std::string_view key) const {
  const Section* found = Find(section);
  if (!found) return std::nullopt;
  key = Trim(key);
  // Keys are mostly read in the order they were written: the line after the last one found is
  // tried first. Without twins in the section, a line of that name is the one the index holds.
  const auto& lines = found->lines;
  const std::size_t next = found->nextRead;
  if (!found->twins && next < lines.size() && lines[next].keyLength > 0 &&
      SameFolded(KeyOf(lines[next]), key)) {
    found->nextRead = next + 1;
    return ValueOf(lines[next]);
  }
  const auto line = FindKey(*found, key);
  if (!line) return std::nullopt;
  found->nextRead = *line + 1;
  return ValueOf(lines[*line]);
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  const auto value = ReadView(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  key = Trim(key);
  if (key.empty()) return;
  // Texts read from this file live in it, and appending may move it.
  if (Holds(section) || Holds(key) || Holds(value)) {
    Write(std::string(section), std::string(key), std::string(value));
    return;
  }
  Section& target = Hashed(FindOrAdd(section));
  const Line line = AppendKeyLine(key, value);
  const std::size_t at = AppendPosition(target);
  const auto keyOf = [&](std::size_t id) { return KeyOf(target.lines[id]); };
  // Only keyless blank lines move down below a new key: the numbers the index holds stay right.
  if (const auto found =
          line.keyLength == 0 ? std::nullopt : target.index.InsertOrFind(KeyOf(line), at, keyOf)) {
    target.lines[*found] = line;
    return;
  }
  target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), line);
}

// Blank lines that close a section stay after its keys.
std::size_t IniFile::AppendPosition(const Section& section) const {
  const std::size_t header = section.name.empty() ? 0 : 1;
  std::size_t at = section.lines.size();
  while (at > header && Trim(LineText(section.lines[at - 1])).empty()) --at;
  return at;
}

// The section's keys, its fresh ones last, sorted together by hash: a fresh key that stood
// before gives the line where it first stood its new text, and leaves. The blank lines that
// closed the section come back after the keys.
void IniFile::MergeFreshKeys(Section& section, std::size_t firstFresh, std::vector<Line> closing) {
  std::vector<std::uint64_t> keys = SortedHashes(section.lines);
  std::vector<bool> gone(section.lines.size(), false);
  bool anyGone = false;
  for (std::size_t i = 1; i < keys.size(); ++i) {
    const std::size_t line = keys[i] & 0xFFFFFFFF;
    if (line < firstFresh) continue;
    // Lines of the same hash sit together before it, in line order: the first of its name wins.
    std::size_t first = i;
    for (std::size_t j = i; j-- > 0 && keys[j] >> 32 == keys[i] >> 32;) {
      if (SameFolded(KeyOf(section.lines[keys[j] & 0xFFFFFFFF]), KeyOf(section.lines[line])))
        first = j;
    }
    if (first == i) continue;
    section.lines[keys[first] & 0xFFFFFFFF] = section.lines[line];
    gone[line] = anyGone = true;
  }
  if (!anyGone && closing.empty()) {
    SortKeys(section, std::move(keys));
    return;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < section.lines.size(); ++i)
    if (!gone[i]) section.lines[kept++] = section.lines[i];
  section.lines.resize(kept);
  section.lines.insert(section.lines.end(), closing.begin(), closing.end());
  SortKeys(section, SortedHashes(section.lines));
}

IniFile::SectionWriter::SectionWriter(IniFile& ini, std::string_view section, std::size_t keys,
                                      std::size_t bytes)
    : ini_(ini) {
  Section& target = ini_.FindOrAdd(section);
  section_ = static_cast<std::size_t>(&target - ini_.sections_.data());
  const auto at = static_cast<std::ptrdiff_t>(ini_.AppendPosition(target));
  closing_.assign(target.lines.begin() + at, target.lines.end());
  target.lines.erase(target.lines.begin() + at, target.lines.end());
  firstFresh_ = target.lines.size();
  target.lines.reserve(target.lines.size() + keys + closing_.size());
  ini_.text_.reserve(ini_.text_.size() + bytes);
}

IniFile::SectionWriter::~SectionWriter() {
  ini_.MergeFreshKeys(ini_.sections_[section_], firstFresh_, std::move(closing_));
}

void IniFile::SectionWriter::Write(std::string_view key, std::string_view value) {
  key = Trim(key);
  if (key.empty()) return;
  // Texts read from this file live in it, and appending may move it.
  if (ini_.Holds(key) || ini_.Holds(value)) {
    Write(std::string(key), std::string(value));
    return;
  }
  ini_.sections_[section_].lines.push_back(ini_.AppendKeyLine(key, value));
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
  const Section* found = Find(Trim(section));
  if (!found) return;
  Section& target = const_cast<Section&>(*found);
  const auto line = FindKey(target, Trim(key));
  if (!line) return;
  target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(*line));
  IndexKeys(target);
}

bool IniFile::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = Find(section)) {
    for (const Line& line : found->lines) {
      if (line.keyLength > 0) keys.emplace_back(KeyOf(line));
    }
  }
  return keys;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
  const Section* found = Find(section);
  if (!found) return 0;
  return static_cast<std::size_t>(
      std::count_if(found->lines.begin(), found->lines.end(),
                    [](const Line& line) { return line.keyLength > 0; }));
}

std::int32_t ReadIniInteger(const IniFile& ini, std::string_view section, std::string_view key,
                            std::int32_t byDefault) {
  const auto text = ini.ReadView(section, key);
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
