#include "core/Language.h"

#include <cstdlib>

#include "core/Files.h"
#include "core/StringTable.h"

namespace kinovia {
namespace {

Language current = Language::Spanish;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

LocaleVariables LocaleVariablesFromEnvironment() {
  return {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

Language LanguageOfLocale(const LocaleVariables& locale) {
  for (const std::string* value :
       {&locale.language, &locale.lcAll, &locale.lcMessages, &locale.lang})
    if (!value->empty()) return value->starts_with("en") ? Language::English : Language::Spanish;
  return Language::Spanish;
}

std::string TranslationFileName(Language language) {
  return language == Language::English ? "en.tsv" : "";
}

Language SwitchLanguage(Language wanted, const std::vector<std::string>& folders) {
  ResetTranslation();
  current = Language::Spanish;
  if (wanted == Language::Spanish) return current;
  for (const std::string& folder : folders)
    if (LoadTranslation(folder + "/" + TranslationFileName(wanted))) {
      current = wanted;
      break;
    }
  return current;
}

Language CurrentLanguage() { return current; }

}  // namespace kinovia
