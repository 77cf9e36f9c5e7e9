#include "gui/RecentFiles.h"

#include <gtest/gtest.h>

#include "core/IniFile.h"

namespace kinovia {
namespace {

TEST(RecentFiles, MostRecentFirstWithoutRepeatsAndBounded) {
  RecentFiles recent;
  for (int i = 0; i < 12; ++i) recent.Add("/clips/" + std::to_string(i) + ".avi");
  recent.Add("/clips/7.avi");
  ASSERT_EQ(recent.Files().size(), std::size_t(RecentFiles::kDefaultLimit));
  EXPECT_EQ(recent.Files()[0], "/clips/7.avi");
  EXPECT_EQ(recent.Files()[1], "/clips/11.avi");
  EXPECT_EQ(std::count(recent.Files().begin(), recent.Files().end(), "/clips/7.avi"), 1);
  recent.SetLimit(3);
  EXPECT_EQ(recent.Files().size(), 3u);
  recent.SetLimit(0);
  recent.Add("/clips/new.avi");
  EXPECT_EQ(recent.Files().size(), 3u);
}

TEST(RecentFiles, SaveAndLoadKeepOtherSectionsAndDropStaleKeys) {
  IniFile ini;
  ini.Parse(
      "[Options]\nCheckBox3ConfirmationQuit_Checked=0\n[RecentFiles]\nFile1=/a.avi\n"
      "File2=/b.avi\nFile3=/c.avi\n");
  RecentFiles recent;
  recent.Load(ini);
  EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/a.avi", "/b.avi", "/c.avi"}));
  recent.Remove("/b.avi");
  recent.Remove("/c.avi");
  recent.SetDirectory("/home/pupil/clips");
  recent.Save(ini);
  RecentFiles again;
  again.Load(ini);
  EXPECT_EQ(again.Files(), (std::vector<std::string>{"/a.avi"}));
  EXPECT_FALSE(ini.Read("RecentFiles", "File2").has_value());
  EXPECT_EQ(again.Directory(), "/home/pupil/clips");
  EXPECT_EQ(ini.Read("Options", "CheckBox3ConfirmationQuit_Checked"), "0");
}

}  // namespace
}  // namespace kinovia
