#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/IniFile.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = FreshTestFolder("test_ini"); }
  fs::path folder_;
};

constexpr const char* kSample =
    "; written by hand\n"
    "[Options]\n"
    "CheckBox9Speed_Checked=0\n"
    "  EditMRU_Value = 12  \n"
    "a line nobody knows\n"
    "\n"
    "[RecentFiles]\n"
    "File1=/home/ana/caida.knv\n";

TEST(IniFile, TextComesBackAsItWasRead) {
  for (std::string text : {std::string(kSample), std::string("[A]\r\nk=v\r\n;c\r\n"),
                           std::string("[A]\nk=v\r\n\r\r\nz=1\n")}) {
    IniFile ini;
    ASSERT_TRUE(ini.Parse(text));
    EXPECT_EQ(ini.Text(), text);
  }
}

TEST(IniFile, NamesIgnoreCaseAndValuesAreTrimmed) {
  IniFile ini;
  ini.Parse(kSample);
  EXPECT_EQ(ini.Read("options", "editmru_value"), "12");
  EXPECT_EQ(ini.Read("OPTIONS", "CheckBox9Speed_Checked"), "0");
  EXPECT_EQ(ini.Read("Options", "Missing"), std::nullopt);
  EXPECT_EQ(ini.Read("Nowhere", "File1"), std::nullopt);
  EXPECT_EQ(ini.Keys("Options"),
            (std::vector<std::string>{"CheckBox9Speed_Checked", "EditMRU_Value"}));
}

TEST(IniFile, WritesUpdateInPlaceAndAppendToTheirSection) {
  IniFile ini;
  ini.Parse(kSample);
  ini.Write("OPTIONS", "editmru_value", "5");
  ini.Write("Options", "Password", "abc");
  ini.Write("RecentFiles", "File2", "/tmp/b.knv");
  ini.Write("Capture", "Device", "0");
  EXPECT_EQ(ini.Text(),
            "; written by hand\n"
            "[Options]\n"
            "CheckBox9Speed_Checked=0\n"
            "editmru_value=5\n"
            "a line nobody knows\n"
            "Password=abc\n"
            "\n"
            "[RecentFiles]\n"
            "File1=/home/ana/caida.knv\n"
            "File2=/tmp/b.knv\n"
            "[Capture]\n"
            "Device=0\n");
  EXPECT_EQ(ini.Read("options", "EDITMRU_VALUE"), "5");
}

TEST(IniFile, ALineBreakInAValueCannotForgeKeys) {
  IniFile ini;
  ini.Write("Main", "VideoFileName", "/tmp/odd\n[Options]\nPassword=x.avi");
  IniFile back;
  back.Parse(ini.Text());
  EXPECT_FALSE(back.HasSection("Options"));
  EXPECT_EQ(back.Keys("Main"), std::vector<std::string>{"VideoFileName"});
}

TEST(IniFile, HostileTextIsRefusedOrKeptWithoutHarm) {
  IniFile ini;
  EXPECT_FALSE(ini.Parse(std::string(IniFile::kMaxLineCount + 1, '\n')));
  EXPECT_EQ(ini.Text(), "");
  const std::string junk("\0\xff[\x01=\x02\n]]=[\n=x\n[\n\x80", 16);
  ASSERT_TRUE(ini.Parse(junk));
  IniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.Text(), ini.Text());
}

TEST(IniFile, TwinsAndLineEndsReadAsTheyAreWritten) {
  struct Case {
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"[A]\r\nk = v \r\nempty=\r\n", "a", "K", "v"},
      {"[A]\r\nk = v \r\nempty=\r\n", "A", "empty", ""},
      {"[A]\nk=first\nK=second\n", "A", "k", "first"},
      {"[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},
      {"[A]\n;k=comment\n", "A", ";k", std::nullopt},
      {"[A]\nk=last line without a break", "A", "k", "last line without a break"},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ASSERT_TRUE(ini.Parse(c.text)) << c.text;
    EXPECT_EQ(ini.Read(c.section, c.key), c.value) << c.text;
    EXPECT_EQ(ini.Text(), std::string(c.text) + (std::string(c.text).back() == '\n' ? "" : "\n"));
  }
  IniFile twins;
  twins.Parse("[A]\nk=first\nK=second\n");
  twins.Write("A", "k", "third");
  EXPECT_EQ(twins.Text(), "[A]\nk=third\nK=second\n");
}

// A file just read finds its keys in the order they stand, out of order, and again after a write
// has changed how the section is looked up; a twin never passes for the first of its name.
TEST(IniFile, KeysAreFoundInAnyOrderBeforeAndAfterWriting) {
  std::string text = "[A]\nk=first\nj=x\nK=second\n[B]\n";
  for (int i = 0; i < 300; ++i) text += "Key_" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  IniFile ini;
  ASSERT_TRUE(ini.Parse(text));
  const auto readAll = [&](const std::vector<int>& order, const char* first = "first") {
    for (int i : order) {
      ASSERT_EQ(ini.Read("b", "KEY_" + std::to_string(i)), std::to_string(i)) << i;
      ASSERT_EQ(ini.Read("A", "k"), first);
    }
  };
  std::vector<int> forwards(300), backwards(300);
  for (int i = 0; i < 300; ++i) forwards[i] = i, backwards[i] = 299 - i;
  readAll(forwards);
  readAll(backwards);
  EXPECT_EQ(ini.Read("B", "Key_300"), std::nullopt);
  // A value of the file written back under another key: it lives in the text that grows.
  ini.Write("B", "Copy", *ini.ReadView("B", "Key_7"));
  ini.Write("A", "K", "third");
  readAll(forwards, "third");
  EXPECT_EQ(ini.Read("B", "copy"), "7");
  EXPECT_EQ(ini.Text(),
            "[A]\nK=third\nj=x\nK=second\n" + text.substr(text.find("[B]")) + "Copy=7\n");
}

// Short sections and long ones sort their keys by different means; both find the first twin.
TEST(IniFile, TwinsAreFoundInShortAndLongSections) {
  for (const int keys : {10, 40000}) {
    std::string text = "[A]\nTwin=first\n";
    for (int i = 0; i < keys; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    text += "TWIN=second\n";
    IniFile ini;
    ASSERT_TRUE(ini.Parse(text));
    EXPECT_EQ(ini.Read("A", "twin"), "first") << keys;
    EXPECT_EQ(ini.Read("A", "k" + std::to_string(keys - 1)), std::to_string(keys - 1)) << keys;
    ini.Write("A", "twin", "third");
    EXPECT_EQ(ini.Text().substr(0, 15), "[A]\ntwin=third\n") << keys;
    EXPECT_EQ(ini.Read("A", "Twin"), "third") << keys;
  }
}

// Writing a section in bulk gives the file that one Write a key gives: a key that stood before,
// in the file or earlier in the same writing, is updated where it first stands.
TEST(IniFile, SectionWrittenInBulkEndsAsKeyByKeyWriting) {
  using Writes = std::vector<std::pair<std::string, std::string>>;
  const struct {
    const char* file;
    const char* section;
    Writes writes;
  } cases[] = {
      {"", "Data", {{"a", "1"}, {"b", "2"}, {"A", "3"}, {"c", "4"}, {"a", "5"}}},
      {"[Main]\nv=1\n", "Data", {{"k", "x\ny"}, {";note", "kept"}, {"k", "z"}}},
      {"[Data]\nk=first\nK=twin\nold=0\n\n[Next]\nn=1\n",
       "data",
       {{"new", "1"}, {"k", "second"}, {"OLD", "2"}, {"new", "3"}, {" spaced ", "4"}}},
      {"[Data]\n\n\n", "Data", {{"only", "1"}, {"", "ignored"}}},
  };
  for (const auto& c : cases) {
    IniFile oneByOne, bulk;
    ASSERT_TRUE(oneByOne.Parse(c.file));
    ASSERT_TRUE(bulk.Parse(c.file));
    for (const auto& [key, value] : c.writes) oneByOne.Write(c.section, key, value);
    {
      IniFile::SectionWriter writer(bulk, c.section, 2, 64);
      for (const auto& [key, value] : c.writes) writer.Write(key, value);
    }
    EXPECT_EQ(bulk.Text(), oneByOne.Text()) << c.file;
    for (const auto& [key, value] : c.writes)
      EXPECT_EQ(bulk.Read(c.section, key), oneByOne.Read(c.section, key)) << key;
    // Writing again, one key at a time, still finds the keys where they stand.
    bulk.Write(c.section, "only", "again");
    oneByOne.Write(c.section, "only", "again");
    EXPECT_EQ(bulk.Text(), oneByOne.Text()) << c.file;
  }
}

// Memory stays proportional to the file: text that is all line breaks or all headers costs far
// more to hold than its size, and is damage.
TEST(IniFile, TextOfLinesWithoutContentIsRefused) {
  const auto repeated = [](std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
  };
  for (const std::string& text :
       {std::string(std::size_t{2} << 20, '\n'), repeated("[s]\n", IniFile::kMaxSectionCount + 2),
        repeated("\r\n", std::size_t{1} << 20)}) {
    IniFile ini;
    EXPECT_FALSE(ini.Parse(text)) << text.size();
    EXPECT_EQ(ini.Text(), "");
  }
}

// The work file of a long clip pointed with several objects is larger than settings files ever
// were; it loads whole.
TEST_F(IniFileOnDisk, AFileOfTensOfMegabytesLoads) {
  std::string text = "[Data]\n";
  constexpr int kLines = 260000;
  const std::string value(100, '7');
  for (int i = 0; i < kLines; ++i)
    text += "MarkXCoordinate_Grid_" + std::to_string(i) + "_7=" + value + "\n";
  ASSERT_GT(text.size(), std::size_t{32} << 20);
  const fs::path path = folder_ / "long.knv";
  WriteFile(path, text);
  IniFile ini;
  ASSERT_EQ(ini.Load(path.string()), IniLoad::Loaded);
  EXPECT_EQ(ini.KeyCount("data"), static_cast<std::size_t>(kLines));
  EXPECT_EQ(ini.Read("Data", "markxcoordinate_grid_259999_7"), value);
  EXPECT_EQ(ini.Read("Data", "MarkXCoordinate_Grid_260000_7"), std::nullopt);
  EXPECT_EQ(ini.Text(), text);
}

TEST_F(IniFileOnDisk, SaveReplacesTheFileAndLeavesNothingBehind) {
  const fs::path path = folder_ / "Kinovia.ini";
  WriteFile(path, kSample);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  IniFile ini;
  ASSERT_EQ(ini.Load(path.string()), IniLoad::Loaded);
  ini.Write("Options", "Password", "abc");
  ASSERT_TRUE(ini.Save(path.string()));
  EXPECT_EQ(FileText(path), ini.Text());
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDisk, AFailedSaveLeavesTheOldFileWhole) {
  // A folder in the way makes the final rename fail after the new text was fully written.
  const fs::path blocked = folder_ / "work.knv";
  fs::create_directories(blocked / "inside");
  IniFile ini;
  ini.Parse(kSample);
  EXPECT_FALSE(ini.Save(blocked.string()));
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_FALSE(ini.Save((folder_ / "no such folder" / "a.ini").string()));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDisk, LoadTellsMissingAndOversizedFilesApart) {
  IniFile ini;
  ini.Parse(kSample);
  EXPECT_EQ(ini.Load((folder_ / "absent.ini").string()), IniLoad::Missing);
  EXPECT_FALSE(ini.HasSection("Options"));
  const fs::path big = folder_ / "big.ini";
  // Sparse: the size alone must refuse the file, before a byte of it is read.
  WriteFile(big, "x");
  fs::resize_file(big, IniFile::kMaxFileSize + 1);
  EXPECT_EQ(ini.Load(big.string()), IniLoad::TooLarge);
  EXPECT_EQ(ini.Text(), "");
}

// A named pipe as the options or work file used to block the program for ever: the read waited
// for a writer's data. The pipe is held open for writing here, as a blocked read would need.
TEST_F(IniFileOnDisk, APipeOrAFolderIsRefusedAtOnceInsteadOfRead) {
  const fs::path pipe = folder_ / "Kinovia.ini";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  IniFile ini;
  EXPECT_EQ(ini.Load(pipe.string()), IniLoad::Unreadable);
  ::close(writer);
  EXPECT_EQ(ini.Load(folder_.string()), IniLoad::Unreadable);
}

// A save killed between writing its temporary and renaming it leaves ".NAME.kinovia-PID.XXXXXX";
// the next load or save of NAME removes those of processes that no longer run, and nothing else.
TEST_F(IniFileOnDisk, TemporariesOfKilledSavesGoAtTheNextLoadOrSave) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const std::string deadWriter = ".work.knv.kinovia-" + std::to_string(dead) + ".a1B2c3";
  const std::string liveWriter = ".work.knv.kinovia-" + std::to_string(getppid()) + ".a1B2c3";
  const std::string kept[] = {
      liveWriter, ".work.knv.XXXXXX", ".other.knv.kinovia-" + std::to_string(dead) + ".a1B2c3",
      deadWriter + "7", "work.knv.kinovia-" + std::to_string(dead) + ".a1B2c3"};
  for (const auto& action : {0, 1}) {
    SCOPED_TRACE(action == 0 ? "load" : "save");
    for (const auto& name : kept) WriteFile(folder_ / name, "x");
    WriteFile(folder_ / deadWriter, "half a save");
    WriteFile(folder_ / "work.knv", kSample);
    IniFile ini;
    if (action == 0)
      ASSERT_EQ(ini.Load((folder_ / "work.knv").string()), IniLoad::Loaded);
    else
      ASSERT_TRUE(ini.Save((folder_ / "work.knv").string()));
    EXPECT_FALSE(fs::exists(folder_ / deadWriter));
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(folder_ / name)) << name;
  }
}

}  // namespace
}  // namespace kinovia
