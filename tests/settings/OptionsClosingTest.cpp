// Closing the options dialog: the association first, then the results made stale, the options
// copied, saved and announced, in that order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/IniFile.h"
#include "logic/settings/OptionsClosing.h"
#include "logic/settings/OptionsFile.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

TEST(OptionsClosing, StaleResultsAreMarkedBeforeTheSavedOptionsAreAnnounced) {
  const auto folder = FreshTestFolder("options_closing");
  const std::string path = (folder / "Kinovia.ini").string();
  Options options(path);
  std::vector<std::string> steps;
  options.onChange = [&](const Options& changed) {
    // The notification finds the file already written and the edits in place.
    Options onDisk(path);
    EXPECT_TRUE(onDisk == changed);
    EXPECT_FALSE(changed.Flag(BoolOption::SmoothSpeed));
    steps.push_back("notify");
  };
  Options edited = options;
  edited.SetFlag(BoolOption::SmoothSpeed, false);
  edited.SetValue(IntOption::PenSize, 2);

  const auto closing =
      CloseOptions(options, edited, false, std::nullopt, "", [&] { steps.push_back("stale"); });

  EXPECT_TRUE(closing.resultsStale);
  EXPECT_TRUE(closing.saved);
  EXPECT_EQ(steps, (std::vector<std::string>{"stale", "notify"}));
  EXPECT_EQ(options.Value(IntOption::PenSize), 2);
  // The window's notification survives the copy: a later closing still reaches it.
  CloseOptions(options, options, false, std::nullopt, "");
  EXPECT_EQ(steps.size(), 3u);
}

TEST(OptionsClosing, ADisplayOnlyChangeKeepsTheResults) {
  const auto folder = FreshTestFolder("options_closing");
  Options options((folder / "Kinovia.ini").string());
  Options edited = options;
  edited.SetFlag(BoolOption::TimePolyline, false);
  bool marked = false;
  const auto closing =
      CloseOptions(options, edited, false, std::nullopt, "", [&] { marked = true; });
  EXPECT_FALSE(closing.resultsStale);
  EXPECT_FALSE(marked);
  EXPECT_EQ(ReadIniString(ReadOptionsFile((folder / "Kinovia.ini").string()), "Options",
                          "CheckBox14TimePolyline_Checked"),
            "0");
}

TEST(OptionsClosing, TheAssociationFollowsTheBoxAndAFailureKeepsTheOptions) {
  const auto folder = FreshTestFolder("options_closing");
  Options options((folder / "Kinovia.ini").string());
  const FileAssociation association((folder / "share").string());
  const std::string program = "/bin/sh";

  auto closing = CloseOptions(options, options, true, association, program);
  EXPECT_FALSE(closing.associationWarning);
  EXPECT_TRUE(association.Installed());
  closing = CloseOptions(options, options, false, association, program);
  EXPECT_FALSE(association.Installed());

  // A data folder that is a plain file cannot take the entries: warned, options saved anyway.
  const FileAssociation blocked((folder / "Kinovia.ini").string());
  Options edited = options;
  edited.SetFlag(BoolOption::FreezeMru, true);
  closing = CloseOptions(options, edited, true, blocked, program);
  ASSERT_TRUE(closing.associationWarning);
  EXPECT_TRUE(closing.saved);
  EXPECT_TRUE(Options((folder / "Kinovia.ini").string()).Flag(BoolOption::FreezeMru));
}

}  // namespace
}  // namespace kinovia
