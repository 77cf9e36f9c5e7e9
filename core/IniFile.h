#pragma once
// Kinovia's own INI (profile) file: sections and keys kept in file order, unknown lines kept as
// they were, keys updated where they stand, and every save replaced in one step.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinovia {

// What loading a file came to.
enum class IniLoad { Loaded, Missing, Unreadable, TooLarge };

class IniFile {
 public:
  IniFile() { Clear(); }

  // Larger files are not options or work files; refusing them bounds memory and time. A work
  // file of a long clip pointed with many objects reaches a few hundred megabytes.
  static constexpr std::size_t kMaxFileSize = std::size_t{1} << 30;
  static constexpr std::size_t kMaxLineCount = std::size_t{1} << 26;
  // Every line costs a few dozen bytes besides its text: a text of mostly empty lines or headers
  // is damage, and refusing it keeps memory proportional to the file.
  static constexpr std::size_t kMinBytesPerLine = 16;
  static constexpr std::size_t kMaxSectionCount = std::size_t{1} << 16;

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
  // The same without a copy; the view lasts until the next change of the contents.
  std::optional<std::string_view> ReadView(std::string_view section, std::string_view key) const;
  // Updates the key where it stands, or appends it to its section (created at the end).
  void Write(std::string_view section, std::string_view key, std::string_view value);
  void EraseKey(std::string_view section, std::string_view key);
  // Many keys written to one section in a row, as a long save writes its marks: each is appended
  // without a lookup, and when the writer ends, one sorted pass finds every key that stood
  // before, in the section or earlier in the same writing, and puts the later value where the
  // key first stands, as Write would have. Nothing else of the file is read or written meanwhile.
  class SectionWriter;
  bool HasSection(std::string_view section) const;
  // Key names of a section in file order, and how many there are.
  std::vector<std::string> Keys(std::string_view section) const;
  std::size_t KeyCount(std::string_view section) const;

 private:
  // One line as written: a span of text_, with its key and value as spans of the line (an empty
  // key: a header, a comment or an unknown line). Lines of a long file stay small in memory.
  struct Line {
    std::size_t start = 0;
    std::uint32_t length = 0, keyStart = 0, keyLength = 0, valueStart = 0, valueLength = 0;
  };
  // Numbers found by a name compared without regard to case; the names stay where they are,
  // the table keeps their hashes only.
  class FoldedIndex {
   public:
    template <class NameOf>
    std::optional<std::size_t> Find(std::string_view name, const NameOf& nameOf) const;
    // The first of twins wins: false, and nothing changed, when the name is there already.
    template <class NameOf>
    bool Insert(std::string_view name, std::size_t id, const NameOf& nameOf);
    // The same, answering the number of the twin found instead.
    template <class NameOf>
    std::optional<std::size_t> InsertOrFind(std::string_view name, std::size_t id,
                                            const NameOf& nameOf);
    // Room for this many names without growing.
    void Reserve(std::size_t names);
    void Clear();

   private:
    struct Slot {
      std::uint32_t id = 0;  // the number plus one; 0 for a free slot
      std::uint32_t hash = 0;
    };
    void Grow();
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
  };
  struct Section {
    std::string name;         // empty for the lines before the first header
    std::vector<Line> lines;  // lines[0] is the header when the section has a name
    FoldedIndex index;        // key -> line
    // A section read from a file finds its keys by their sorted hashes until it is written to;
    // then, and for a section made by writing, by the hash table.
    std::vector<std::uint64_t> sorted;  // hash << 32 | line, by hash, then line
    bool hashed = true;
    bool twins = false;  // a key stands on more than one line
    // The line after the last one read: where the next read most likely finds its key. Not to
    // be read from two threads at once.
    mutable std::size_t nextRead = 0;
  };

  std::string_view LineText(const Line& line) const;
  std::string_view KeyOf(const Line& line) const;
  std::string_view ValueOf(const Line& line) const;
  Line AppendLine(std::string_view text);
  Line AppendKeyLine(std::string_view key, std::string_view value);
  // Whether the text lies inside the file's own text.
  bool Holds(std::string_view part) const;
  Line SpanLine(std::size_t start, std::size_t length) const;
  bool ParseText();
  void EndLinesWithCrLf();
  const Section* Find(std::string_view section) const;
  Section& FindOrAdd(std::string_view section);
  Section& AddSection(std::string name, Line header);
  void Clear();
  void IndexKeys(Section& section);
  // Looks the section's keys up through `keys`, its SortedHashes.
  void SortKeys(Section& section, std::vector<std::uint64_t> keys);
  // The keys' folded hashes, each beside its number, sorted by hash with equal hashes in order.
  std::vector<std::uint64_t> SortedHashes(const std::vector<Line>& lines) const;
  // Where a new key goes: before the blank lines that close the section.
  std::size_t AppendPosition(const Section& section) const;
  void MergeFreshKeys(Section& section, std::size_t firstFresh, std::vector<Line> closing);
  std::optional<std::size_t> FindKey(const Section& section, std::string_view key) const;
  // The section, with its hash table built.
  Section& Hashed(Section& section);

  std::string text_;  // the text of every line, as read and then as written
  std::vector<Section> sections_;
  FoldedIndex sectionIndex_;  // name -> section
  std::string lineEnd_ = "\n";
};

class IniFile::SectionWriter {
 public:
  // Room for this many keys and bytes of text, so that the text does not move as it grows.
  SectionWriter(IniFile& ini, std::string_view section, std::size_t keys, std::size_t bytes);
  ~SectionWriter();
  SectionWriter(const SectionWriter&) = delete;
  SectionWriter& operator=(const SectionWriter&) = delete;
  void Write(std::string_view key, std::string_view value);

 private:
  IniFile& ini_;
  std::size_t section_;
  std::size_t firstFresh_;     // the section's first line written here
  std::vector<Line> closing_;  // the blank lines that closed the section, put back at the end
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
