#pragma once

#include <string>
#include <string_view>

namespace vistrel::textreplace {

struct ReplaceRule {
  std::string find;
  std::string replace;
  bool caseSensitive = false;
  bool wholeWords = true;
};

struct Replaced {
  std::string text;
  int count = 0;
};

// Replaces the find text line by line, each line's own break (CR, LF or
// CR LF, or none at the end) kept as it is. Occurrences are taken from left
// to right, and what one consumed is never searched again, so "a" by "aa" in
// "aaa" gives "aaaaaa". Whole words reject an occurrence next to an ASCII
// letter, digit or underscore, where "next to" looks only at what the
// previous occurrence left: in "imgimg" the second "img" has nothing before
// it. Without regard to case, a line of valid UTF-8 is compared upper-cased
// character by character, any other line by its ASCII letters. An empty find
// text, or one with a line break, finds nothing.
Replaced replaceText(std::string_view text, const ReplaceRule& rule);

}  // namespace vistrel::textreplace
