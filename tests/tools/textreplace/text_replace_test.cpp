#include "tools/textreplace/text_replace.h"

#include <gtest/gtest.h>

namespace vistrel::textreplace {
namespace {

TEST(TextReplaceTest, TheMatchingRules) {
  const struct {
    const char* text;
    ReplaceRule rule;
    const char* result;
    int count;
  } cases[] = {
      // Less-than, blank, full stop and equals sign are no word characters.
      {"<img src=img.jpg>", {"img", "pic"}, "<pic src=pic.jpg>", 2},
      {"<imgs>", {"img", "pic"}, "<imgs>", 0},
      {"a_img img2 img", {"img", "pic"}, "a_img img2 pic", 1},
      // The first is rejected (a letter follows), the second starts the remainder.
      {"imgimg", {"img", "pic"}, "imgpic", 1},
      // Consumed text is not searched again.
      {"aaa", {"a", "aa", false, false}, "aaaaaa", 3},
      {"Back BACK back", {"back", "Forward"}, "Forward Forward Forward", 3},
      {"Back BACK back", {"Back", "Forward", true}, "Forward BACK back", 1},
      {"Grüße GRÜSSE grüße", {"grüße", "hallo"}, "hallo GRÜSSE hallo", 2},
      {"ÄRGER und ärger", {"ärger", "Freude"}, "Freude und Freude", 2},
      // Each line keeps its own break; the match does not reach over one.
      {"img\r\nimg\nimg\rimg", {"img", "pic"}, "pic\r\npic\npic\rpic", 4},
      {"x\n", {"", "y"}, "x\n", 0},
      {"a\nb", {"a\nb", "c"}, "a\nb", 0},
  };
  for (const auto& c : cases) {
    const Replaced replaced = replaceText(c.text, c.rule);
    EXPECT_EQ(replaced.text, c.result) << c.text;
    EXPECT_EQ(replaced.count, c.count) << c.text;
  }
}

// A line that is not valid UTF-8 is compared by its ASCII letters and its
// other bytes pass through untouched.
TEST(TextReplaceTest, BytesOutsideUtf8StayAsTheyAre) {
  const std::string latin1 = "caf\xE9 Img \xFF\xFE img\n\xC3\xA4rger";
  const Replaced replaced = replaceText(latin1, {"IMG", "pic"});
  EXPECT_EQ(replaced.text, "caf\xE9 pic \xFF\xFE pic\n\xC3\xA4rger");
  EXPECT_EQ(replaceText(latin1, {"\xC3\x84rger", "x"}).text, "caf\xE9 Img \xFF\xFE img\nx");
}

}  // namespace
}  // namespace vistrel::textreplace
