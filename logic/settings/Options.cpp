#include "logic/settings/Options.h"

#include <algorithm>

#include "core/IniFile.h"
#include "core/TempFolder.h"
#include "logic/settings/OptionsFile.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

namespace kinovia {
namespace {

constexpr std::string_view kSection = "Options";

constexpr ResultsTool kModelTools[] = {
    ResultsTool::ConstantModel,       ResultsTool::AffineModel,
    ResultsTool::ProportionalModel,   ResultsTool::ParabolaModel,
    ResultsTool::SinusoidModel,       ResultsTool::ExponentiallyDampedModel,
    ResultsTool::LinearlyDampedModel, ResultsTool::ExponentialModel,
    ResultsTool::ModelModifier,       ResultsTool::Reticle};
constexpr ResultsTool kTrajectoryTools[] = {
    ResultsTool::Angle,     ResultsTool::Arc,       ResultsTool::Circle,  ResultsTool::CurveArc,
    ResultsTool::Duplicate, ResultsTool::Ellipse,   ResultsTool::Measure, ResultsTool::Reticle,
    ResultsTool::Segment,   ResultsTool::Selection, ResultsTool::Spline,  ResultsTool::Delete};
constexpr ResultsTool kVectorTools[] = {
    ResultsTool::Angle,     ResultsTool::Arc,       ResultsTool::Circle,    ResultsTool::CurveArc,
    ResultsTool::Duplicate, ResultsTool::Ellipse,   ResultsTool::Measure,   ResultsTool::Reticle,
    ResultsTool::Segment,   ResultsTool::Selection, ResultsTool::Direction, ResultsTool::Spline,
    ResultsTool::Delete,    ResultsTool::Vector,    ResultsTool::Video};

// The eight models whose hiding together hides the model modifier.
constexpr ResultsTool kModels[] = {
    ResultsTool::ConstantModel,       ResultsTool::AffineModel,
    ResultsTool::ProportionalModel,   ResultsTool::ParabolaModel,
    ResultsTool::SinusoidModel,       ResultsTool::ExponentiallyDampedModel,
    ResultsTool::LinearlyDampedModel, ResultsTool::ExponentialModel};

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
static_assert(std::size(kToolWords) == static_cast<std::size_t>(ResultsTool::Count));

// Older options files kept no flag of their own for these two tools: their buttons followed the
// reticle's key, which is what such a file still means.
bool FollowsReticleInOlderFiles(ResultsTool tool) {
  return tool == ResultsTool::ExponentiallyDampedModel || tool == ResultsTool::ModelModifier;
}

// Options whose change alters the computed values or the rows and columns of the results. The
// angle unit and the polar quantities change the values of the polar and formula columns too.
constexpr BoolOption kResultOptions[] = {
    BoolOption::SmoothAcceleration, BoolOption::SmoothSpeed,
    BoolOption::Acceleration,       BoolOption::Speed,
    BoolOption::HideEdgeSpeed,      BoolOption::HideEdgeAcceleration,
    BoolOption::StartByZero,        BoolOption::HorizAndVertScale,
    BoolOption::AngleRadian,        BoolOption::PolarQuantities};

std::size_t Index(auto e) { return static_cast<std::size_t>(e); }

}  // namespace

std::string OptionsFilePath() { return TemporaryFolder() + "Kinovia.ini"; }

std::span<const ResultsTool> PageTools(ResultsPage page) {
  switch (page) {
    case ResultsPage::Trajectory:
      return kTrajectoryTools;
    case ResultsPage::Vectors:
      return kVectorTools;
    default:
      return kModelTools;
  }
}

std::string ToolKey(ResultsPage page, ResultsTool tool) {
  return "ToolButton" + std::string(kPageWords[Index(page)]) +
         std::string(kToolWords[Index(tool)]) + "_Down";
}

Options::Options(std::string path) : path_(std::move(path)) { Load(); }

void Options::Load() {
  IniFile ini;
  if (!path_.empty()) ini.Load(path_);
  LoadFrom(ini);
}

void Options::LoadFrom(const IniFile& ini) {
  password_ = ReadIniString(ini, kSection, "Password");
  locked_ = !password_.empty();
  for (std::size_t i = 0; i < flags_.size(); ++i) {
    flags_[i] = ReadIniBool(ini, kSection, kPrefKeys[i].key, kPrefKeys[i].byDefault);
  }
  for (std::size_t p = 0; p < toolHidden_.size(); ++p) {
    const auto page = static_cast<ResultsPage>(p);
    toolHidden_[p].fill(false);
    const bool reticle = ReadIniBool(ini, kSection, ToolKey(page, ResultsTool::Reticle), false);
    for (ResultsTool tool : PageTools(page)) {
      const bool byDefault = FollowsReticleInOlderFiles(tool) ? reticle : false;
      toolHidden_[p][Index(tool)] = ReadIniBool(ini, kSection, ToolKey(page, tool), byDefault);
    }
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    SetValue(static_cast<IntOption>(i),
             ReadIniInteger(ini, kSection, kIntPrefKeys[i].key, kIntPrefKeys[i].byDefault));
  }
  defaultDirectory_ = ReadIniString(ini, kSection, "DefaultDirectory");
}

void Options::SaveTo(IniFile& ini) const {
  ini.Write(kSection, "Password", password_);
  for (std::size_t i = 0; i < flags_.size(); ++i) {
    WriteIniBool(ini, kSection, kPrefKeys[i].key, flags_[i]);
  }
  for (std::size_t p = 0; p < toolHidden_.size(); ++p) {
    const auto page = static_cast<ResultsPage>(p);
    for (ResultsTool tool : PageTools(page)) {
      WriteIniBool(ini, kSection, ToolKey(page, tool), toolHidden_[p][Index(tool)]);
    }
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    WriteIniInteger(ini, kSection, kIntPrefKeys[i].key, values_[i]);
  }
  ini.Write(kSection, "DefaultDirectory", defaultDirectory_);
}

bool Options::Save() const {
  if (path_.empty()) return false;
  return UpdateOptionsFile(path_, [this](IniFile& ini) { SaveTo(ini); });
}

void Options::SetValue(IntOption pref, int value) {
  const IntOptionKey& key = kIntPrefKeys[Index(pref)];
  values_[Index(pref)] = std::clamp(value, key.low, key.high);
}

bool Options::ToolHidden(ResultsPage page, ResultsTool tool) const {
  return toolHidden_[Index(page)][Index(tool)];
}

void Options::SetToolHidden(ResultsPage page, ResultsTool tool, bool hidden) {
  const auto tools = PageTools(page);
  if (std::find(tools.begin(), tools.end(), tool) != tools.end()) {
    toolHidden_[Index(page)][Index(tool)] = hidden;
  }
}

bool Options::ModelModifierHidden(ResultsPage page) const {
  return ToolHidden(page, ResultsTool::ModelModifier) ||
         std::all_of(std::begin(kModels), std::end(kModels),
                     [&](ResultsTool tool) { return ToolHidden(page, tool); });
}

bool Options::CurveArcHidden(ResultsPage page) const {
  return ToolHidden(page, ResultsTool::CurveArc) ||
         (ToolHidden(page, ResultsTool::Arc) && ToolHidden(page, ResultsTool::Circle) &&
          ToolHidden(page, ResultsTool::Ellipse));
}

void Options::SetLocked(bool locked) {
  locked_ = locked;
  if (!locked) password_.clear();
}

OptionsAccess Options::AskAccess() const {
  if (!locked_) return {true, std::nullopt};
  if (!passwordDialog_) return {false, std::nullopt};
  const std::string typed = passwordDialog_->Execute(PasswordPurpose::Access);
  if (typed.empty()) return {false, std::nullopt};
  if (typed == password_) return {true, std::nullopt};
  Message warning{MessageIcon::Warning, {txt::ButtonOk}, {}};
  warning.Line(txt::OptionsWrongPassword);
  return {false, warning};
}

bool Options::AskNewPassword() {
  if (!passwordDialog_) return false;
  std::string typed = passwordDialog_->Execute(PasswordPurpose::NewPassword);
  if (typed.empty()) return false;
  password_ = std::move(typed);
  return true;
}

bool Options::operator==(const Options& other) const {
  return locked_ == other.locked_ && password_ == other.password_ && flags_ == other.flags_ &&
         toolHidden_ == other.toolHidden_ && values_ == other.values_ &&
         defaultDirectory_ == other.defaultDirectory_;
}

Language ChosenLanguage(const Options& options, const LocaleVariables& locale) {
  switch (static_cast<UserLanguage>(options.Value(IntOption::Language))) {
    case UserLanguage::Spanish:
      return Language::Spanish;
    case UserLanguage::English:
      return Language::English;
    default:
      return LanguageOfLocale(locale);
  }
}

bool ResultsBecomeStale(const Options& before, const Options& after) {
  return std::any_of(std::begin(kResultOptions), std::end(kResultOptions),
                     [&](BoolOption pref) { return before.Flag(pref) != after.Flag(pref); });
}

}  // namespace kinovia
