#include "settings/UnitOptions.h"

#include <algorithm>

#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"
#include "settings/UnitIniFile.h"
#include "settings/UnitOptionsFile.h"
#include "settings/UnitTempFolder.h"

namespace kinovia {
namespace {

constexpr std::string_view kSection = "Options";

constexpr TResultsTool kModelTools[] = {
    TResultsTool::ModeleConstant,      TResultsTool::ModeleAffine,
    TResultsTool::ModeleProportionnel, TResultsTool::ModeleParabole,
    TResultsTool::ModeleSinus,         TResultsTool::ModeleSinusAmortiExp,
    TResultsTool::ModeleSinusAl,       TResultsTool::ModeleExponentiel,
    TResultsTool::ModelModifier,       TResultsTool::Reticule};
constexpr TResultsTool kTrajectoryTools[] = {
    TResultsTool::Angle,     TResultsTool::Arc,       TResultsTool::Cercle,
    TResultsTool::CurveArc,  TResultsTool::Dupliquer, TResultsTool::Ellipse,
    TResultsTool::Mesurer,   TResultsTool::Reticule,  TResultsTool::Segment,
    TResultsTool::Selection, TResultsTool::Spline,    TResultsTool::Supprimer};
constexpr TResultsTool kVectorTools[] = {
    TResultsTool::Angle,     TResultsTool::Arc,       TResultsTool::Cercle,  TResultsTool::CurveArc,
    TResultsTool::Dupliquer, TResultsTool::Ellipse,   TResultsTool::Mesurer, TResultsTool::Reticule,
    TResultsTool::Segment,   TResultsTool::Selection, TResultsTool::Sens,    TResultsTool::Spline,
    TResultsTool::Supprimer, TResultsTool::Vecteur,   TResultsTool::Video};

// The eight models whose hiding together hides the model modifier.
constexpr TResultsTool kModels[] = {
    TResultsTool::ModeleConstant,      TResultsTool::ModeleAffine,
    TResultsTool::ModeleProportionnel, TResultsTool::ModeleParabole,
    TResultsTool::ModeleSinus,         TResultsTool::ModeleSinusAmortiExp,
    TResultsTool::ModeleSinusAl,       TResultsTool::ModeleExponentiel};

constexpr std::string_view kPageWords[] = {"Formule", "Temps", "Referentiel", "Vecteur"};

constexpr std::string_view kToolWords[] = {"ModeleConstant",
                                           "ModeleAffine",
                                           "ModeleProportionnel",
                                           "ModeleParabole",
                                           "ModeleSinus",
                                           "ModeleSinusAe",
                                           "ModeleSinusAl",
                                           "ModeleExponentiel",
                                           "Modificateur",
                                           "Angle",
                                           "Arc",
                                           "Cercle",
                                           "CurveArc",
                                           "Dupliquer",
                                           "Ellipse",
                                           "Mesurer",
                                           "Reticule",
                                           "Segment",
                                           "Selection",
                                           "Sens",
                                           "Spline",
                                           "Supprimer",
                                           "Vecteur",
                                           "Video"};
static_assert(std::size(kToolWords) == static_cast<std::size_t>(TResultsTool::Count));

// Older options files kept no flag of their own for these two tools: their buttons followed the
// reticle's key, which is what such a file still means.
bool FollowsReticleInOlderFiles(TResultsTool tool) {
  return tool == TResultsTool::ModeleSinusAmortiExp || tool == TResultsTool::ModelModifier;
}

// Options whose change alters the computed values or the rows and columns of the results. The
// angle unit and the polar quantities change the values of the polar and formula columns too.
constexpr TPref kResultOptions[] = {TPref::SmoothAcceleration, TPref::SmoothSpeed,
                                    TPref::Acceleration,       TPref::Speed,
                                    TPref::HideEdgeSpeed,      TPref::HideEdgeAcceleration,
                                    TPref::StartByZero,        TPref::HorizAndVertScale,
                                    TPref::AngleRadian,        TPref::PolarQuantities};

std::size_t Index(auto e) { return static_cast<std::size_t>(e); }

}  // namespace

std::string OptionsFilePath() { return TemporaryFolder() + "Kinovia.ini"; }

std::span<const TResultsTool> PageTools(TResultsPage page) {
  switch (page) {
    case TResultsPage::Referentiel:
      return kTrajectoryTools;
    case TResultsPage::Vecteur:
      return kVectorTools;
    default:
      return kModelTools;
  }
}

std::string ToolKey(TResultsPage page, TResultsTool tool) {
  return "ToolButton" + std::string(kPageWords[Index(page)]) +
         std::string(kToolWords[Index(tool)]) + "_Down";
}

TOptions::TOptions(std::string path) : path_(std::move(path)) { Load(); }

void TOptions::Load() {
  TIniFile ini;
  if (!path_.empty()) ini.Load(path_);
  LoadFrom(ini);
}

void TOptions::LoadFrom(const TIniFile& ini) {
  password_ = ReadIniString(ini, kSection, "Password");
  locked_ = !password_.empty();
  for (std::size_t i = 0; i < flags_.size(); ++i) {
    flags_[i] = ReadIniBool(ini, kSection, kPrefKeys[i].key, kPrefKeys[i].byDefault);
  }
  for (std::size_t p = 0; p < toolHidden_.size(); ++p) {
    const auto page = static_cast<TResultsPage>(p);
    toolHidden_[p].fill(false);
    const bool reticle = ReadIniBool(ini, kSection, ToolKey(page, TResultsTool::Reticule), false);
    for (TResultsTool tool : PageTools(page)) {
      const bool byDefault = FollowsReticleInOlderFiles(tool) ? reticle : false;
      toolHidden_[p][Index(tool)] = ReadIniBool(ini, kSection, ToolKey(page, tool), byDefault);
    }
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    SetValue(static_cast<TIntPref>(i),
             ReadIniInteger(ini, kSection, kIntPrefKeys[i].key, kIntPrefKeys[i].byDefault));
  }
  defaultDirectory_ = ReadIniString(ini, kSection, "DefaultDirectory");
}

void TOptions::SaveTo(TIniFile& ini) const {
  ini.Write(kSection, "Password", password_);
  for (std::size_t i = 0; i < flags_.size(); ++i) {
    WriteIniBool(ini, kSection, kPrefKeys[i].key, flags_[i]);
  }
  for (std::size_t p = 0; p < toolHidden_.size(); ++p) {
    const auto page = static_cast<TResultsPage>(p);
    for (TResultsTool tool : PageTools(page)) {
      WriteIniBool(ini, kSection, ToolKey(page, tool), toolHidden_[p][Index(tool)]);
    }
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    WriteIniInteger(ini, kSection, kIntPrefKeys[i].key, values_[i]);
  }
  ini.Write(kSection, "DefaultDirectory", defaultDirectory_);
}

bool TOptions::Save() const {
  if (path_.empty()) return false;
  return UpdateOptionsFile(path_, [this](TIniFile& ini) { SaveTo(ini); });
}

void TOptions::SetValue(TIntPref pref, int value) {
  const TIntPrefKey& key = kIntPrefKeys[Index(pref)];
  values_[Index(pref)] = std::clamp(value, key.low, key.high);
}

bool TOptions::ToolHidden(TResultsPage page, TResultsTool tool) const {
  return toolHidden_[Index(page)][Index(tool)];
}

void TOptions::SetToolHidden(TResultsPage page, TResultsTool tool, bool hidden) {
  const auto tools = PageTools(page);
  if (std::find(tools.begin(), tools.end(), tool) != tools.end()) {
    toolHidden_[Index(page)][Index(tool)] = hidden;
  }
}

bool TOptions::ModelModifierHidden(TResultsPage page) const {
  return ToolHidden(page, TResultsTool::ModelModifier) ||
         std::all_of(std::begin(kModels), std::end(kModels),
                     [&](TResultsTool tool) { return ToolHidden(page, tool); });
}

bool TOptions::CurveArcHidden(TResultsPage page) const {
  return ToolHidden(page, TResultsTool::CurveArc) ||
         (ToolHidden(page, TResultsTool::Arc) && ToolHidden(page, TResultsTool::Cercle) &&
          ToolHidden(page, TResultsTool::Ellipse));
}

void TOptions::SetLocked(bool locked) {
  locked_ = locked;
  if (!locked) password_.clear();
}

TAccess TOptions::AskAccess() const {
  if (!locked_) return {true, std::nullopt};
  if (!passwordDialog_) return {false, std::nullopt};
  const std::string typed = passwordDialog_->Execute(TPasswordPurpose::Access);
  if (typed.empty()) return {false, std::nullopt};
  if (typed == password_) return {true, std::nullopt};
  TMessage warning{TMessageIcon::Warning, {txt::ButtonOk}, {}};
  warning.Line(txt::OptionsWrongPassword);
  return {false, warning};
}

bool TOptions::AskNewPassword() {
  if (!passwordDialog_) return false;
  std::string typed = passwordDialog_->Execute(TPasswordPurpose::NewPassword);
  if (typed.empty()) return false;
  password_ = std::move(typed);
  return true;
}

bool TOptions::operator==(const TOptions& other) const {
  return locked_ == other.locked_ && password_ == other.password_ && flags_ == other.flags_ &&
         toolHidden_ == other.toolHidden_ && values_ == other.values_ &&
         defaultDirectory_ == other.defaultDirectory_;
}

bool ResultsBecomeStale(const TOptions& before, const TOptions& after) {
  return std::any_of(std::begin(kResultOptions), std::end(kResultOptions),
                     [&](TPref pref) { return before.Flag(pref) != after.Flag(pref); });
}

}  // namespace kinovia
