// F1 opens the help page at a section: a section missing from one language's page would leave the
// user at the top of a long page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "gui/HelpPage.h"

namespace kinovia {
namespace {

std::string PageText(const std::string& name) {
  const char* source = std::getenv("KINOVIA_SOURCE_DIR");
  std::ifstream in(std::string(source ? source : "") + "/resources/Help/" + name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HelpPage, EveryLanguagesPageHoldsEverySectionTheProgramOpens) {
  for (const char* name : {"Help_es.html", "Help_en.html"}) {
    const std::string page = PageText(name);
    ASSERT_FALSE(page.empty()) << name;
    for (const char* section : help::kAll) {
      const std::string anchor = "id=\"" + std::string(section) + "\"";
      EXPECT_NE(page.find(anchor), std::string::npos) << name << " lacks " << anchor;
      // The table of contents leads there too.
      EXPECT_NE(page.find("href=\"#" + std::string(section) + "\""), std::string::npos)
          << name << " has no link to " << section;
    }
  }
}

}  // namespace
}  // namespace kinovia
