#include "platform/ui/help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vistrel::platform::ui {
namespace {

TEST(HelpTest, EachContextOpensItsSectionOfTheShippedPage) {
  EXPECT_TRUE(helpUrl(0).isLocalFile());
  EXPECT_TRUE(helpUrl(0).path().endsWith("/help/index.html"));
  EXPECT_FALSE(helpUrl(0).hasFragment());
  EXPECT_EQ(helpUrl(300).fragment(), "context-300");

  std::ifstream in(VISTREL_HELP_PAGE);
  ASSERT_TRUE(in) << VISTREL_HELP_PAGE;
  std::stringstream page;
  page << in.rdbuf();
  // Every window's section: by the Help buttons' context numbers (EXIF dates, IPTC, the gallery
  // dialog, the upload window, the options, descriptions, file time stamps) and by the names the
  // other dialogs give for F1.
  for (const std::string section : {"context-60", "context-70", "context-125", "context-300", "context-500",
                                    "context-600", "context-900", "resize", "encryption", "open-with", "properties"}) {
    EXPECT_NE(page.str().find("id=\"" + section + "\""), std::string::npos) << section;
  }
}

}  // namespace
}  // namespace vistrel::platform::ui
