#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/IniFile.h"
#include "logic/settings/FileAssociation.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

bool ToolPresent(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class FileAssociationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = FreshTestFolder("test_association");
    dataHome_ = home_ / ".local" / "share";
    // A program folder with the characters an Exec key must escape.
    executable_ = home_ / "Mis programas $x 100%" / "kinovia";
    fs::create_directories(executable_.parent_path());
    std::ofstream(executable_) << "#!/bin/sh\n";
  }
  fs::path home_, dataHome_, executable_;
};

TEST_F(FileAssociationTest, InstalledForRealAndRemovedAgain) {
  const FileAssociation association(dataHome_.string());
  EXPECT_FALSE(association.Installed());
  EXPECT_TRUE(ApplyFileAssociation(association, true, executable_.string()).Ok());
  ASSERT_TRUE(association.Installed());

  IniFile entry;
  entry.Parse(FileText(association.DesktopEntryPath()));
  EXPECT_EQ(entry.Read("Desktop Entry", "Exec"),
            "\"" + (home_ / "Mis programas \\\\$x 100%%" / "kinovia").string() + "\" %f");
  EXPECT_EQ(entry.Read("Desktop Entry", "MimeType"), "application/x-kinovia;");
  if (ToolPresent("desktop-file-validate")) {
    const std::string command = "desktop-file-validate '" + association.DesktopEntryPath() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  if (ToolPresent("update-mime-database")) {
    EXPECT_NE(FileText(dataHome_ / "mime" / "globs2").find("application/x-kinovia:*.knv"),
              std::string::npos);
  }
  if (ToolPresent("update-desktop-database")) {
    EXPECT_NE(FileText(dataHome_ / "applications" / "mimeinfo.cache")
                  .find("application/x-kinovia=kinovia.desktop"),
              std::string::npos);
  }

  EXPECT_TRUE(ApplyFileAssociation(association, false, executable_.string()).Ok());
  EXPECT_FALSE(association.Installed());
  EXPECT_FALSE(fs::exists(association.DesktopEntryPath()));
  if (ToolPresent("update-mime-database")) {
    EXPECT_EQ(FileText(dataHome_ / "mime" / "globs2").find("x-kinovia"), std::string::npos);
  }
}

TEST_F(FileAssociationTest, NothingIsDeclaredForAMissingProgram) {
  const FileAssociation association(dataHome_.string());
  EXPECT_TRUE(ApplyFileAssociation(association, true, (home_ / "gone").string()).Ok());
  EXPECT_FALSE(association.Installed());
  EXPECT_FALSE(association.Install((home_ / "gone").string()));
}

TEST_F(FileAssociationTest, AFailedWriteIsReported) {
  fs::create_directories(dataHome_);
  std::ofstream(dataHome_ / "applications") << "a file where a folder should be";
  const FileAssociation association(dataHome_.string());
  const auto applied = ApplyFileAssociation(association, true, executable_.string());
  ASSERT_FALSE(applied.Ok());
  EXPECT_EQ(applied.Failure().icon, MessageIcon::Warning);
  EXPECT_EQ(applied.Failure().lines.front().text,
            "Error de escritura en la asociación de archivos del escritorio");
  EXPECT_FALSE(association.Installed());
}

TEST(FileAssociationHome, TheDataFolderFollowsHome) {
  const char* old = getenv("HOME");
  const std::string saved = old ? old : "";
  setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(FileAssociation::UserDataHome(), "/home/ana/.local/share");
  unsetenv("HOME");
  EXPECT_EQ(FileAssociation::UserDataHome(), std::nullopt);
  if (old) setenv("HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace kinovia
