#include "tools/search/file_masks.h"

#include <gtest/gtest.h>

#include "platform/case_folding.h"

namespace vistrel::search {
namespace {

TEST(FileMasksTest, MaskTextsBecomeMaskLists) {
  const struct {
    const char* text;
    std::vector<std::string> masks;
  } cases[] = {
      {"img", {"*img*"}},
      {"img*", {"img*"}},
      {"IMG*a", {"img*a*"}},
      {"*.jpg;*.gif", {"*.gif", "*.jpg"}},
      {" *.JPG , *.jpg;;", {"*.jpg"}},
      {"", {"*"}},
      {"photo.jpg", {"photo.jpg"}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseMaskList(c.text), c.masks) << c.text;
}

TEST(FileMasksTest, NamesAgainstMasks) {
  const struct {
    const char* mask;
    const char* name;
    bool matches;
  } cases[] = {
      {"*img*", "myimg_01.jpg", true},
      {"img*", "myimg_01.jpg", false},
      // The first "ab" is taken and nothing tries the second.
      {"*ab", "abab", false},
      {"*ab", "xab", true},
      {"*.*", "readme", false},
      {"*.*", "a.b", true},
      {"*", "", true},
      {"a?c.jpg", "abc.jpg", true},
      {"a?c.jpg", "ac.jpg", false},
      {"photo.jpg", "photo.jpg", true},
      {"photo.jpg", "photo.jpeg", false},
      {"*.jpg", "x.jpg.bak", false},
      {"p*o*.jpg", "photo.jpg", true},
  };
  for (const auto& c : cases) EXPECT_EQ(maskMatches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
}

TEST(FileMasksTest, CaseIsIgnoredBeyondAsciiToo) {
  EXPECT_TRUE(anyMaskMatches(parseMaskList("Ärger*"), platform::lowerCaseSameLength("ÄRGER.JPG")));
  EXPECT_FALSE(anyMaskMatches(parseMaskList("*.gif;*.png"), "a.jpg"));
}

}  // namespace
}  // namespace vistrel::search
