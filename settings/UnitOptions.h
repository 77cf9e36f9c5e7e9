#pragma once
// The user's preferences, kept in the section "Options" of the options file, with the password
// lock of the options dialog.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "resources/UnitMessage.h"
#include "settings/UnitOptionKeys.h"
#include "settings/UnitPasswordDlg.h"

namespace kinovia {

class TIniFile;

// "Kinovia.ini" in the temporary folder.
std::string OptionsFilePath();

// The answer of the lock: whether the options dialog may open, and the warning to show when a
// wrong password was typed.
struct TAccess {
  bool granted = false;
  std::optional<TMessage> warning;
};

class TOptions {
 public:
  // Loads from `path` at once; an empty path keeps every default and never writes.
  explicit TOptions(std::string path = OptionsFilePath());

  const std::string& Path() const { return path_; }
  void Load();
  void LoadFrom(const TIniFile& ini);
  // Writes every key into the section "Options", keeping the file's other sections. False when
  // the file could not be replaced (the old one is then left whole).
  bool Save() const;
  void SaveTo(TIniFile& ini) const;

  bool Flag(TPref pref) const { return flags_[static_cast<std::size_t>(pref)]; }
  void SetFlag(TPref pref, bool value) { flags_[static_cast<std::size_t>(pref)] = value; }
  int Value(TIntPref pref) const { return values_[static_cast<std::size_t>(pref)]; }
  void SetValue(TIntPref pref, int value);
  const std::string& DefaultDirectory() const { return defaultDirectory_; }
  void SetDefaultDirectory(std::string folder) { defaultDirectory_ = std::move(folder); }

  // Whether the tool's button is hidden on that page; false for a tool the page does not offer.
  bool ToolHidden(TResultsPage page, TResultsTool tool) const;
  void SetToolHidden(TResultsPage page, TResultsTool tool, bool hidden);
  // A model page hides its model modifier with its own flag or when all eight models are hidden.
  bool ModelModifierHidden(TResultsPage page) const;
  // A construction page hides its curve arc with its own flag or when arc, circle and ellipse are.
  bool CurveArcHidden(TResultsPage page) const;

  bool Locked() const { return locked_; }
  const std::string& Password() const { return password_; }
  // Unlocking clears the password at once.
  void SetLocked(bool locked);
  void SetPasswordDialog(TPasswordDialog* dialog) { passwordDialog_ = dialog; }
  TAccess AskAccess() const;
  bool AskNewPassword();

  // Called by Notify; the main window installs it to make every part read the options again.
  std::function<void(const TOptions&)> onChange;
  void Notify() const {
    if (onChange) onChange(*this);
  }

  bool operator==(const TOptions& other) const;

 private:
  std::string path_;
  bool locked_ = false;
  std::string password_;
  std::array<bool, static_cast<std::size_t>(TPref::Count)> flags_{};
  std::array<std::array<bool, static_cast<std::size_t>(TResultsTool::Count)>,
             static_cast<std::size_t>(TResultsPage::Count)>
      toolHidden_{};
  std::array<int, static_cast<std::size_t>(TIntPref::Count)> values_{};
  std::string defaultDirectory_;
  TPasswordDialog* passwordDialog_ = nullptr;
};

// Whether a change of options from `before` to `after` makes the computed results out of date.
bool ResultsBecomeStale(const TOptions& before, const TOptions& after);

// The tools a page offers, in tool-bar order, and the key of each in the options file.
std::span<const TResultsTool> PageTools(TResultsPage page);
std::string ToolKey(TResultsPage page, TResultsTool tool);

}  // namespace kinovia
