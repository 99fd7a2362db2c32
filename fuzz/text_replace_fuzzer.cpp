// Text replace rewrites whatever the chosen pages hold, in any encoding and
// with any line breaks. A file it replaces in must end up as the text replace
// gives, and a text with nothing replaced, or a rule that puts back what it
// finds, must come out as it went in. The first byte picks the switches and
// the find text's length, the second the replacement's; the texts follow.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/files.h"
#include "tools/textreplace/replace_run.h"
#include "tools/textreplace/text_replace.h"

using namespace vistrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  textreplace::ReplaceRule rule;
  rule.caseSensitive = data[0] & 1;
  rule.wholeWords = data[0] & 2;
  rule.find = rest.substr(0, (data[0] >> 2) % 16);
  rest.remove_prefix(rule.find.size());
  rule.replace = data[1] & 0x80 ? rule.find : std::string(rest.substr(0, data[1] % 16));
  rest.remove_prefix(data[1] & 0x80 ? 0 : rule.replace.size());
  const std::string_view text = rest;

  const textreplace::Replaced replaced = textreplace::replaceText(text, rule);
  if (replaced.count == 0 && replaced.text != text) std::abort();
  if (rule.caseSensitive && rule.replace == rule.find && replaced.text != text) std::abort();

  const auto page = fuzz::written("page.html", text);
  int reported = -1;
  textreplace::replaceInFiles({page}, rule, false, [&](const textreplace::FileResult& result) {
    if (result.failed()) std::abort();
    reported = result.replacements;
  });
  if (reported != replaced.count || platform::readFile(page) != replaced.text) std::abort();
  return 0;
}
