#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>

#include "core/IniFile.h"
#include "core/Language.h"
#include "core/StringTable.h"
#include "logic/settings/Options.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

std::string TranslationFolder() {
  const char* source = std::getenv("KINOVIA_SOURCE_DIR");
  return source ? std::string(source) + "/resources/strings" : "";
}

// The English file as written, so that a text missing from it is not hidden by the Spanish one
// the table falls back on.
std::map<std::string, std::string> EnglishFile() {
  std::map<std::string, std::string> texts;
  std::ifstream in(TranslationFolder() + "/en.tsv");
  std::string line;
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
    texts[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return texts;
}

// The printf directives and line breaks of a text, in order: what the code fills in and splits on.
std::vector<std::string> Directives(const std::string& text) {
  static const std::regex directive(R"(%[-+ #0]*\d*(?:\.\d+)?[diuxXfFeEgGcsp%]|\n|\\n)");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), directive), end; it != end; ++it)
    found.push_back(it->str() == "\n" ? "\\n" : it->str());
  return found;
}

TEST(EnglishTable, EveryTextIsTranslatedWithTheSamePlaceholders) {
  ASSERT_FALSE(TranslationFolder().empty()) << "KINOVIA_SOURCE_DIR is not set";
  const auto english = EnglishFile();
  ResetTranslation();
  for (const TxtId id : AllTexts()) {
    const auto found = english.find(std::string(id.name));
    ASSERT_NE(found, english.end()) << "no English text for " << id.name;
    EXPECT_FALSE(found->second.empty()) << id.name;
    EXPECT_EQ(Directives(found->second), Directives(Txt(id))) << id.name;
  }
  EXPECT_EQ(english.size(), AllTexts().size()) << "the English file names unknown identifiers";
}

TEST(EnglishTable, LocaleChoosesTheLanguage) {
  struct Case {
    LocaleVariables locale;
    Language expected;
  };
  const Case cases[] = {
      {{"", "", "", "en_GB.UTF-8"}, Language::English},
      {{"", "", "", "es_ES.UTF-8"}, Language::Spanish},
      {{"", "", "", "C"}, Language::Spanish},
      {{"", "POSIX", "", "en_US.UTF-8"}, Language::Spanish},
      {{"", "", "en_US.UTF-8", "es_ES.UTF-8"}, Language::English},
      {{"es", "", "", "en_GB.UTF-8"}, Language::Spanish},
      {{"en_GB:es", "", "", "fr_FR.UTF-8"}, Language::English},
      {{"", "", "", ""}, Language::Spanish},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LanguageOfLocale(c.locale), c.expected)
        << c.locale.language << "|" << c.locale.lcAll << "|" << c.locale.lcMessages << "|"
        << c.locale.lang;
}

// The options file's choice wins over the locale; a value past the list is brought to its nearer
// end, as every listed option is.
TEST(EnglishTable, TheOptionsChoiceWinsOverTheLocale) {
  struct Case {
    const char* stored;  // nullptr: no key in the file
    const char* lang;
    Language expected;
  };
  const Case cases[] = {
      {nullptr, "en_GB.UTF-8", Language::English},
      {"0", "es_ES.UTF-8", Language::Spanish},
      {"1", "en_GB.UTF-8", Language::Spanish},
      {"2", "es_ES.UTF-8", Language::English},
      {"9", "C", Language::English},
      {"-3", "en_US.UTF-8", Language::English},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ASSERT_TRUE(ini.Parse(std::string("[Options]\n") +
                          (c.stored ? std::string("Language_Value=") + c.stored + "\n" : "")));
    Options options("");
    options.LoadFrom(ini);
    EXPECT_EQ(ChosenLanguage(options, {"", "", "", c.lang}), c.expected)
        << (c.stored ? c.stored : "none") << " " << c.lang;
  }
}

TEST(EnglishTable, EnglishLoadsFromTheFirstFolderHoldingIt) {
  const Language chosen = LanguageOfLocale({"", "", "", "en_GB.UTF-8"});
  EXPECT_EQ(SwitchLanguage(chosen, {"/nonexistent", TranslationFolder()}), Language::English);
  EXPECT_EQ(CurrentLanguage(), Language::English);
  EXPECT_EQ(Txt(txt::ButtonCancelar), "Cancel");

  EXPECT_EQ(SwitchLanguage(Language::English, {"/nonexistent"}), Language::Spanish);
  EXPECT_EQ(Txt(txt::ButtonCancelar), "Cancelar");
  EXPECT_EQ(CurrentLanguage(), Language::Spanish);
}

}  // namespace
}  // namespace kinovia
