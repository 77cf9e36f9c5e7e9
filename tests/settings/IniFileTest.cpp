#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
  WriteFile(big, std::string(IniFile::kMaxFileSize + 1, 'x'));
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
