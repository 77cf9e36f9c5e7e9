#pragma once
// Kinovia's own INI (profile) file: sections and keys kept in file order, unknown lines kept as
// they were, keys updated where they stand, and every save replaced in one step.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kinovia {

// What loading a file came to.
enum class IniLoad { Loaded, Missing, Unreadable, TooLarge };

class IniFile {
 public:
  IniFile() { Clear(); }

  // Larger files are not options or work files; refusing them bounds memory and time.
  static constexpr std::size_t kMaxFileSize = std::size_t{32} << 20;
  static constexpr std::size_t kMaxLineCount = std::size_t{2} << 20;

  // Replaces the contents with the text of a file. Anything short of Loaded leaves it empty.
  IniLoad Load(const std::string& path);
  // False, with the contents left empty, when the text is past the limits above.
  bool Parse(std::string_view text);
  std::string Text() const;

  // Writes a temporary file beside `path` and renames it over `path`: when anything fails, the
  // file at `path` is left exactly as it was. False on failure.
  bool Save(const std::string& path) const;

  // Section and key names compare without regard to case, as profile files always did.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Updates the key where it stands, or appends it to its section (created at the end).
  void Write(std::string_view section, std::string_view key, std::string_view value);
  void EraseKey(std::string_view section, std::string_view key);
  bool HasSection(std::string_view section) const;
  // Key names of a section in file order.
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  // One line as written; the key and value are spans of it (an empty key: a header, a comment
  // or an unknown line). Spans keep a file of many short lines small in memory.
  struct Line {
    std::string text;
    std::uint32_t keyStart = 0, keyLength = 0, valueStart = 0, valueLength = 0;
    std::string_view Key() const { return std::string_view(text).substr(keyStart, keyLength); }
    std::string_view Value() const {
      return std::string_view(text).substr(valueStart, valueLength);
    }
  };
  static Line MakeLine(std::string text);
  struct Section {
    std::string name;         // empty for the lines before the first header
    std::vector<Line> lines;  // lines[0] is the header when the section has a name
    std::unordered_map<std::string, std::size_t> index;  // folded key -> line
  };

  const Section* Find(std::string_view section) const;
  Section& FindOrAdd(std::string_view section);
  void Clear();
  void AddLine(Section& section, Line line);

  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> section
  std::string lineEnd_ = "\n";
};

// Writes the text to a temporary file beside `path`, flushed to disk, and renames it over `path`,
// so `path` holds either its old contents or the whole new text. False on failure.
bool ReplaceFileContents(const std::string& path, std::string_view text);

// Integers in decimal and booleans as "1" or "0", read back with their default when the key is
// missing or its text is not a whole number; any non-zero number reads as true.
std::int32_t ReadIniInteger(const IniFile& ini, std::string_view section, std::string_view key,
                            std::int32_t byDefault);
bool ReadIniBool(const IniFile& ini, std::string_view section, std::string_view key,
                 bool byDefault);
std::string ReadIniString(const IniFile& ini, std::string_view section, std::string_view key,
                          std::string_view byDefault = {});
void WriteIniInteger(IniFile& ini, std::string_view section, std::string_view key,
                     std::int64_t value);
void WriteIniBool(IniFile& ini, std::string_view section, std::string_view key, bool value);

}  // namespace kinovia
