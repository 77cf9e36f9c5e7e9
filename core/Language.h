#pragma once
// The language of the window's texts: Spanish, the table's own, or English from a translation
// file. kinovia-cli never switches: its output is read by scripts.
#include <string>
#include <vector>

namespace kinovia {

enum class Language { Spanish, English };

// The desktop's locale variables, as the environment gives them (empty when unset).
struct LocaleVariables {
  std::string language;    // LANGUAGE
  std::string lcAll;       // LC_ALL
  std::string lcMessages;  // LC_MESSAGES
  std::string lang;        // LANG
};

LocaleVariables LocaleVariablesFromEnvironment();

// The language the variables ask for, in the order the C library reads them: the first set one
// decides, English when it starts with "en", Spanish otherwise (C and POSIX included).
Language LanguageOfLocale(const LocaleVariables& locale);

// The translation file of a language ("en.tsv"), empty for Spanish.
std::string TranslationFileName(Language language);

// Loads the language's translation from the first folder holding it. Spanish stays on, and is
// returned, when no folder holds the file.
Language SwitchLanguage(Language wanted, const std::vector<std::string>& folders);

// The language the texts are in now.
Language CurrentLanguage();

}  // namespace kinovia
