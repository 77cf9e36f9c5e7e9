#pragma once
// The user's preferences, kept in the section "Options" of the options file, with the password
// lock of the options dialog.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "core/Language.h"
#include "core/Message.h"
#include "logic/settings/OptionKeys.h"
#include "logic/settings/PasswordPrompt.h"

namespace kinovia {

class IniFile;

// "Kinovia.ini" in the temporary folder.
std::string OptionsFilePath();

// The answer of the lock: whether the options dialog may open, and the warning to show when a
// wrong password was typed.
struct OptionsAccess {
  bool granted = false;
  std::optional<Message> warning;
};

class Options {
 public:
  // Loads from `path` at once; an empty path keeps every default and never writes.
  explicit Options(std::string path = OptionsFilePath());

  const std::string& Path() const { return path_; }
  void Load();
  void LoadFrom(const IniFile& ini);
  // Writes every key into the section "Options", keeping the file's other sections. False when
  // the file could not be replaced (the old one is then left whole).
  bool Save() const;
  void SaveTo(IniFile& ini) const;

  bool Flag(BoolOption pref) const { return flags_[static_cast<std::size_t>(pref)]; }
  void SetFlag(BoolOption pref, bool value) { flags_[static_cast<std::size_t>(pref)] = value; }
  int Value(IntOption pref) const { return values_[static_cast<std::size_t>(pref)]; }
  void SetValue(IntOption pref, int value);
  const std::string& DefaultDirectory() const { return defaultDirectory_; }
  void SetDefaultDirectory(std::string folder) { defaultDirectory_ = std::move(folder); }

  // Whether the tool's button is hidden on that page; false for a tool the page does not offer.
  bool ToolHidden(ResultsPage page, ResultsTool tool) const;
  void SetToolHidden(ResultsPage page, ResultsTool tool, bool hidden);
  // A model page hides its model modifier with its own flag or when all eight models are hidden.
  bool ModelModifierHidden(ResultsPage page) const;
  // A construction page hides its curve arc with its own flag or when arc, circle and ellipse are.
  bool CurveArcHidden(ResultsPage page) const;

  bool Locked() const { return locked_; }
  const std::string& Password() const { return password_; }
  // Unlocking clears the password at once.
  void SetLocked(bool locked);
  void SetPasswordDialog(PasswordPrompt* dialog) { passwordDialog_ = dialog; }
  OptionsAccess AskAccess() const;
  bool AskNewPassword();

  // Called by Notify; the main window installs it to make every part read the options again.
  std::function<void(const Options&)> onChange;
  void Notify() const {
    if (onChange) onChange(*this);
  }

  bool operator==(const Options& other) const;

 private:
  std::string path_;
  bool locked_ = false;
  std::string password_;
  std::array<bool, static_cast<std::size_t>(BoolOption::Count)> flags_{};
  std::array<std::array<bool, static_cast<std::size_t>(ResultsTool::Count)>,
             static_cast<std::size_t>(ResultsPage::Count)>
      toolHidden_{};
  std::array<int, static_cast<std::size_t>(IntOption::Count)> values_{};
  std::string defaultDirectory_;
  PasswordPrompt* passwordDialog_ = nullptr;
};

// The language of the window's texts: the user's choice, else the desktop's locale.
Language ChosenLanguage(const Options& options, const LocaleVariables& locale);

// Whether a change of options from `before` to `after` makes the computed results out of date.
bool ResultsBecomeStale(const Options& before, const Options& after);

// The tools a page offers, in tool-bar order, and the key of each in the options file.
std::span<const ResultsTool> PageTools(ResultsPage page);
std::string ToolKey(ResultsPage page, ResultsTool tool);

}  // namespace kinovia
