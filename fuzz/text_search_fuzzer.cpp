// The content search reads any file, and its phrase and name masks are typed
// text. The fast scan and the file reader must find exactly what a plain
// comparison finds (ASCII letters in either case), and masks must match or
// not, never crash. The first byte gives the phrase's length, the phrase
// follows, then the text.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_support.h"
#include "platform/case_folding.h"
#include "tools/search/file_content.h"
#include "tools/search/file_masks.h"
#include "tools/search/ti_search.h"

using namespace vistrel;

namespace {

unsigned char lowerAscii(char c) {
  return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

std::size_t plainFind(std::string_view text, std::string_view phrase) {
  const auto at = std::search(text.begin(), text.end(), phrase.begin(), phrase.end(),
                              [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
  return at == text.end() && !phrase.empty() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view phrase = rest.substr(0, data[0] % 32);
  const std::string_view text = rest.substr(phrase.size());

  const search::TTISearch search(phrase);
  const std::size_t expected = plainFind(text, phrase);
  const auto scan = search.Find(text);
  if (scan.found != (expected != std::string_view::npos) || (scan.found && scan.position != expected)) std::abort();
  // An empty phrase never has the contents looked at.
  if (!phrase.empty()) fuzz::tryReading([&] {
    const std::atomic<bool> cancel{false};
    if (search::fileContains(fuzz::written("page.html", text), search, cancel) != scan.found) std::abort();
  });

  const auto masks = search::parseMaskList(phrase);
  (void)search::anyMaskMatches(masks, platform::lowerCaseSameLength(text));
  return 0;
}
