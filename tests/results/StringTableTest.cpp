#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "core/StringTable.h"
#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"

namespace kinovia {
namespace {

TEST(StringTable, IdentifiersAreUniqueAndTextsPresent) {
  std::set<std::string_view> names;
  for (const TxtId id : AllTexts()) {
    EXPECT_TRUE(names.insert(id.name).second) << "twice: " << id.name;
    EXPECT_FALSE(Txt(id).empty()) << id.name;
  }
}

TEST(StringTable, TranslationReplacesOnlyTheTextsItNames) {
  const std::string path = ::testing::TempDir() + "kinovia_en.txt";
  {
    std::ofstream out(path);
    out << "# English\nButtonCancelar\tCancel\nNoSuchText\tignored\nbroken line\n"
        << "UndefinedNumber\t#Num!\\tx\n";
  }
  ASSERT_TRUE(LoadTranslation(path));
  EXPECT_EQ(Txt(txt::ButtonCancelar), "Cancel");
  EXPECT_EQ(Txt(txt::UndefinedNumber), "#Num!\tx");
  EXPECT_EQ(Txt(txt::ButtonOk), "Ok");
  ResetTranslation();
  EXPECT_EQ(Txt(txt::ButtonCancelar), "Cancelar");
  EXPECT_FALSE(LoadTranslation(path + ".missing"));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace kinovia
