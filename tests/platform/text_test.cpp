#include "platform/text.h"

#include "platform/control_escapes.h"

#include <gtest/gtest.h>

namespace vistrel::platform {
namespace {

TEST(TextFromFile, KeepsUtf8AndConvertsEverythingElseFromWindows1252) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"Fjord caf\xC3\xA9", "Fjord caf\xC3\xA9"},                     // UTF-8 stays
      {"\xF0\x9F\x93\xB7 4-byte", "\xF0\x9F\x93\xB7 4-byte"},         // so does a 4-byte character
      {"Fjord caf\xE9", "Fjord caf\xC3\xA9"},                         // Latin-1
      {"\x80 \x9F \x81", "\xE2\x82\xAC \xC5\xB8 \xC2\x81"},           // 1252's own letters, an unassigned byte
      {"\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},                   // one bad byte: the whole text is 1252
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                               // overlong "/"
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},               // a surrogate
      {"caf\xC3", "caf\xC3\x83"},                                     // a sequence cut short
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(textFromFile(bytes), text) << bytes;
    EXPECT_TRUE(isValidUtf8(textFromFile(bytes))) << bytes;
  }
  EXPECT_EQ(displayName("/photos/\xC5lesund.jpg"), "/photos/\xC3\x85lesund.jpg");
}

TEST(Utf8Prefix, CutsOnlyBetweenCharacters) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC";  // a, e acute (2 bytes), euro (3 bytes)
  const std::pair<std::size_t, std::string> cases[] = {
      {0, ""}, {1, "a"}, {2, "a"}, {3, "a\xC3\xA9"}, {5, "a\xC3\xA9"}, {6, text}, {60, text}};
  for (const auto& [maxBytes, prefix] : cases) EXPECT_EQ(utf8Prefix(text, maxBytes), prefix) << maxBytes;
}


TEST(EscapeControls, ShowsControlsOfBothRangesAndKeepsLinesTabsAndLetters) {
  const struct {
    std::string_view text, shown;
  } cases[] = {
      {"a\x1b[31mb", "a\\x1b[31mb"},
      {"line\r\nnext\tcol\rover\r", "line\r\nnext\tcol\\x0dover\\x0d"},
      {"del\x7f", "del\\x7f"},
      {"csi\xc2\x9b" "2J", "csi\\u009b2J"},         // C1 control, as UTF-8
      {"caf\xc3\xa9 \xc2\xa0\xc2", "caf\xc3\xa9 \xc2\xa0\xc2"},  // letters, no-break space, a cut character
  };
  for (const auto& c : cases) EXPECT_EQ(escapeControls(c.text), c.shown) << c.text;
}

}  // namespace
}  // namespace vistrel::platform
