#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "core/IniFile.h"
#include "core/TempFolder.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsFile.h"
#include "logic/settings/OptionsViews.h"
#include "resources/TxtSettings.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

class OptionsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("test_options");
    path_ = (folder_ / "Kinovia.ini").string();
  }
  void WriteOptions(const std::string& text) { std::ofstream(path_) << text; }
  fs::path folder_;
  std::string path_;
};

class ScriptedDialog : public PasswordPrompt {
 public:
  explicit ScriptedDialog(std::string answer) : answer_(std::move(answer)) {}
  std::string Execute(PasswordPurpose) override {
    ++calls;
    return answer_;
  }
  int calls = 0;

 private:
  std::string answer_;
};

TEST_F(OptionsFile, AMissingFileGivesEveryDefaultAndNoLock) {
  const Options options(path_);
  for (std::size_t i = 0; i < kPrefKeys.size(); ++i) {
    EXPECT_EQ(options.Flag(static_cast<BoolOption>(i)), kPrefKeys[i].byDefault) << kPrefKeys[i].key;
  }
  EXPECT_EQ(options.Value(IntOption::EditMru), 8);
  EXPECT_EQ(options.Value(IntOption::TrackingRadius), 40);
  EXPECT_EQ(options.Value(IntOption::PenSize), 0);
  EXPECT_FALSE(options.Locked());
  EXPECT_FALSE(options.ToolHidden(ResultsPage::Time, ResultsTool::ParabolaModel));
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(OptionsFile, SavedOptionsComeBackAndOtherSectionsStay) {
  WriteOptions("[RecentFiles]\nFile1=/home/ana/caida.knv\n[Options]\nUnknownKey=7\n");
  Options options(path_);
  options.SetFlag(BoolOption::Speed, false);
  options.SetFlag(BoolOption::FreezeMru, true);
  options.SetValue(IntOption::TrackingRadius, 55);
  options.SetToolHidden(ResultsPage::Vectors, ResultsTool::Direction, true);
  options.SetToolHidden(ResultsPage::Formulas, ResultsTool::ModelModifier, true);
  options.SetDefaultDirectory("/home/ana/vídeos");
  ASSERT_TRUE(options.Save());

  const Options back(path_);
  EXPECT_EQ(back, options);
  const IniFile ini = ReadOptionsFile(path_);
  EXPECT_EQ(ini.Read("RecentFiles", "File1"), "/home/ana/caida.knv");
  EXPECT_EQ(ini.Read("Options", "UnknownKey"), "7");
  EXPECT_EQ(ini.Read("Options", "CheckBox9Speed_Checked"), "0");
  EXPECT_EQ(ini.Read("Options", "ToolButtonVecteurSens_Down"), "1");
  EXPECT_EQ(ini.Read("Options", "TrackingRadius_Value"), "55");
}

TEST_F(OptionsFile, StoredValuesAreReadWithinTheirRanges) {
  struct Case {
    const char* line;
    IntOption pref;
    int expected;
  };
  const Case cases[] = {
      {"PenSize_Value=7", IntOption::PenSize, 2},  // the last entry of the list
      {"Numerotation_Value=-1", IntOption::Numerotation, 0},
      {"TrackingRadius_Value=100000", IntOption::TrackingRadius, 100},
      {"TrackingRadius_Value=3", IntOption::TrackingRadius, 10},
      {"EditMRU_Value=0", IntOption::EditMru, 0},  // leaves the recent-files list as it is
      {"EditMRU_Value=twelve", IntOption::EditMru, 8},
      {"EditMRU_Value=99999999999999", IntOption::EditMru, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteOptions(std::string("[Options]\n") + c.line + "\n");
    EXPECT_EQ(Options(path_).Value(c.pref), c.expected);
  }
  WriteOptions("[options]\ncheckbox9speed_checked=-3\nCheckBox6FreezeMRU_Checked=2\n");
  const Options options(path_);
  EXPECT_TRUE(options.Flag(BoolOption::Speed));
  EXPECT_TRUE(options.Flag(BoolOption::FreezeMru));
}

TEST_F(OptionsFile, ToolsWithoutAKeyInOlderFilesFollowTheReticle) {
  WriteOptions(
      "[Options]\nToolButtonTempsReticule_Down=1\nToolButtonFormuleReticule_Down=1\n"
      "ToolButtonFormuleModeleSinusAe_Down=0\n");
  const Options options(path_);
  EXPECT_TRUE(options.ToolHidden(ResultsPage::Time, ResultsTool::ExponentiallyDampedModel));
  EXPECT_TRUE(options.ToolHidden(ResultsPage::Time, ResultsTool::ModelModifier));
  EXPECT_FALSE(options.ToolHidden(ResultsPage::Formulas, ResultsTool::ExponentiallyDampedModel));
  EXPECT_TRUE(options.ToolHidden(ResultsPage::Formulas, ResultsTool::ModelModifier));
}

TEST(Options, DerivedToolAnswers) {
  Options options("");
  const ResultsPage page = ResultsPage::Time;
  for (ResultsTool tool : PageTools(page)) {
    if (tool != ResultsTool::ModelModifier && tool != ResultsTool::Reticle) {
      EXPECT_FALSE(options.ModelModifierHidden(page));
      options.SetToolHidden(page, tool, true);
    }
  }
  EXPECT_TRUE(options.ModelModifierHidden(page));
  EXPECT_FALSE(options.ModelModifierHidden(ResultsPage::Formulas));

  const ResultsPage construction = ResultsPage::Trajectory;
  options.SetToolHidden(construction, ResultsTool::Arc, true);
  options.SetToolHidden(construction, ResultsTool::Circle, true);
  EXPECT_FALSE(options.CurveArcHidden(construction));
  options.SetToolHidden(construction, ResultsTool::Ellipse, true);
  EXPECT_TRUE(options.CurveArcHidden(construction));
  // A tool the page does not offer stays unset.
  options.SetToolHidden(construction, ResultsTool::Vector, true);
  EXPECT_FALSE(options.ToolHidden(construction, ResultsTool::Vector));
  EXPECT_EQ(PageTools(ResultsPage::Vectors).size(), 15u);
  EXPECT_EQ(PageTools(construction).size(), 12u);
  EXPECT_EQ(ToolKey(ResultsPage::Time, ResultsTool::ParabolaModel),
            "ToolButtonTempsModeleParabole_Down");
}

TEST(Options, OnlyOptionsThatChangeTheResultsMakeThemStale) {
  struct Case {
    BoolOption pref;
    bool stale;
  };
  const Case cases[] = {
      {BoolOption::TimePolyline, false},
      {BoolOption::GridShowSpeed, false},
      {BoolOption::SmoothAcceleration, true},
      {BoolOption::SmoothSpeed, true},
      {BoolOption::Speed, true},
      {BoolOption::Acceleration, true},
      {BoolOption::HideEdgeSpeed, true},
      {BoolOption::HideEdgeAcceleration, true},
      {BoolOption::StartByZero, true},
      {BoolOption::HorizAndVertScale, true},
      {BoolOption::AngleRadian, true},
      {BoolOption::PolarQuantities, true},
  };
  const Options before("");
  for (const Case& c : cases) {
    Options after = before;
    after.SetFlag(c.pref, !after.Flag(c.pref));
    EXPECT_EQ(ResultsBecomeStale(before, after), c.stale) << static_cast<int>(c.pref);
  }
}

TEST_F(OptionsFile, ThePasswordLocksTheDialog) {
  WriteOptions("[Options]\nPassword=Prof2024\n");
  Options options(path_);
  ASSERT_TRUE(options.Locked());
  struct Case {
    const char* typed;
    bool granted;
    bool warned;
  };
  const Case cases[] = {{"", false, false}, {"prof2024", false, true}, {"Prof2024", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ScriptedDialog dialog(c.typed);
    options.SetPasswordDialog(&dialog);
    const OptionsAccess access = options.AskAccess();
    EXPECT_EQ(access.granted, c.granted);
    ASSERT_EQ(access.warning.has_value(), c.warned);
    if (c.warned) {
      EXPECT_EQ(PlainText(*access.warning), "Contraseña incorrecta.");
    }
  }
  options.SetLocked(false);
  EXPECT_EQ(options.Password(), "");
  ScriptedDialog unused("x");
  options.SetPasswordDialog(&unused);
  EXPECT_TRUE(options.AskAccess().granted);
  EXPECT_EQ(unused.calls, 0);
}

TEST(Options, ANewPasswordNeedsText) {
  Options options("");
  ScriptedDialog cancelled("");
  options.SetPasswordDialog(&cancelled);
  EXPECT_FALSE(options.AskNewPassword());
  EXPECT_EQ(options.Password(), "");
  ScriptedDialog confirmed("abc123");
  options.SetPasswordDialog(&confirmed);
  EXPECT_TRUE(options.AskNewPassword());
  EXPECT_EQ(options.Password(), "abc123");
  int notified = 0;
  options.onChange = [&](const Options& o) { notified += o.Password() == "abc123"; };
  options.Notify();
  EXPECT_EQ(notified, 1);
}

TEST(Options, PasswordFieldTakesLettersAndDigitsUpToItsLength) {
  const std::string full(21, 'a');
  EXPECT_TRUE(PasswordKeyAccepted("", 'Z'));
  EXPECT_TRUE(PasswordKeyAccepted("", '7'));
  EXPECT_FALSE(PasswordKeyAccepted("", '-'));
  EXPECT_FALSE(PasswordKeyAccepted("", '\xc3'));  // first byte of a non-ASCII letter
  EXPECT_TRUE(PasswordKeyAccepted(std::string(20, 'a'), 'b'));
  EXPECT_FALSE(PasswordKeyAccepted(full, 'b'));
  EXPECT_TRUE(PasswordKeyAccepted(full, kKeyBackspace));
  EXPECT_TRUE(PasswordKeyAccepted(full, kKeyEnter));
}

TEST_F(OptionsFile, NumberedListsShrinkWithoutLeftovers) {
  ASSERT_TRUE(UpdateOptionsFile(path_, [](IniFile& ini) {
    WriteIniList(ini, ini_section::kRecentFiles, "File", {"/a.knv", "/b.knv", "/c.knv"});
  }));
  ASSERT_TRUE(UpdateOptionsFile(path_, [](IniFile& ini) {
    WriteIniList(ini, ini_section::kRecentFiles, "File", {"/c.knv"});
    ini.Write(ini_section::kResultsForm, "Regressi", "/opt/regressi.exe");
  }));
  const IniFile ini = ReadOptionsFile(path_);
  EXPECT_EQ(ReadIniList(ini, ini_section::kRecentFiles, "File"),
            std::vector<std::string>{"/c.knv"});
  EXPECT_EQ(ini.Keys(ini_section::kRecentFiles), std::vector<std::string>{"File1"});
  EXPECT_EQ(ini.Read(ini_section::kResultsForm, "Regressi"), "/opt/regressi.exe");
}

TEST_F(OptionsFile, TheTemporaryFolderIsTheFirstVariableNamingAFolder) {
  const std::string existing = folder_.string();
  const std::string other = (folder_ / "other/").string();
  fs::create_directories(other);
  struct Case {
    const char* tmp;
    const char* temp;
    const char* tmpdir;
    std::string expected;
  };
  const Case cases[] = {
      {existing.c_str(), other.c_str(), nullptr, existing + "/"},
      {"/no/such/folder", other.c_str(), nullptr, other},
      {nullptr, nullptr, existing.c_str(), existing + "/"},
      {"", "/no/such", nullptr, "/tmp/"},
  };
  const char* names[] = {"TMP", "TEMP", "TMPDIR"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* v = getenv(names[i]);
    had[i] = v != nullptr;
    if (v) saved[i] = v;
  }
  for (const Case& c : cases) {
    const char* values[] = {c.tmp, c.temp, c.tmpdir};
    for (int i = 0; i < 3; ++i) {
      values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
    }
    EXPECT_EQ(TemporaryFolder(), c.expected);
  }
  for (int i = 0; i < 3; ++i) had[i] ? setenv(names[i], saved[i].c_str(), 1) : unsetenv(names[i]);
  EXPECT_EQ(OptionsFilePath(), TemporaryFolder() + "Kinovia.ini");
}

TEST(OptionsViews, EachShowingOptionHidesItsOwnFamily) {
  const BoolOption showing[] = {BoolOption::GridShowCoordinates,    BoolOption::Speed,
                                BoolOption::GridShowSpeed,          BoolOption::Acceleration,
                                BoolOption::GridShowAcceleration,   BoolOption::PolarQuantities,
                                BoolOption::GridShowPolarQuantities};
  const QuantitySet hidden[] = {kFamilyPositions,     kFamilySpeeds,        kFamilySpeeds,
                                kFamilyAccelerations, kFamilyAccelerations, kFamilyPolar,
                                kFamilyPolar};
  for (std::size_t i = 0; i < std::size(showing); ++i) {
    Options options("");
    for (const BoolOption option : showing) options.SetFlag(option, true);
    EXPECT_TRUE(HiddenFamiliesOf(options).Empty());
    options.SetFlag(showing[i], false);
    EXPECT_EQ(HiddenFamiliesOf(options).Bits(), hidden[i].Bits()) << i;
  }
}

// Bit 0 smooths the speeds, bit 1 the accelerations.
TEST(OptionsViews, SmoothingOptionsGiveTheDerivationFlags) {
  const struct {
    bool speed, acceleration;
    std::uint32_t bits;
  } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 3}};
  for (const auto& c : cases) {
    Options options("");
    options.SetFlag(BoolOption::SmoothSpeed, c.speed);
    options.SetFlag(BoolOption::SmoothAcceleration, c.acceleration);
    EXPECT_EQ(DerivationFlagsOf(options).Bits(), c.bits) << c.speed << c.acceleration;
  }
}

}  // namespace
}  // namespace kinovia
