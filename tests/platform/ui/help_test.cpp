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
  // The gallery dialog, the upload window and the options.
  for (const int context : {125, 300, 500}) {
    EXPECT_NE(page.str().find("id=\"context-" + std::to_string(context) + "\""), std::string::npos) << context;
  }
}

}  // namespace
}  // namespace vistrel::platform::ui
