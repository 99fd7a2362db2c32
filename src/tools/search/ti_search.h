#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel::search {

// Finds a phrase in text without regard to the case of ASCII letters, by
// Sunday's quick search: the window is compared from its last byte back, and
// after a mismatch it moves by the shift of the byte just past it. Other bytes
// (those of UTF-8 characters beyond ASCII among them) must match exactly.
class TTISearch {
 public:
  explicit TTISearch(std::string_view phrase);

  std::size_t length() const { return phrase_.size(); }

  struct Scan {
    bool found = false;
    // Where the phrase starts (found), or the first window not decided yet:
    // a later scan must start there, with the bytes that follow appended.
    std::size_t position = 0;
  };
  // Looks at the windows that start at `from` or later and end inside `text`.
  // An empty phrase is found at `from`.
  Scan Find(std::string_view text, std::size_t from = 0) const;

 private:
  std::string phrase_;  // lower-cased
  std::array<unsigned char, 256> lower_{};
  std::array<std::size_t, 256> shift_{};  // by the text byte as it stands, folded in
};

}  // namespace vistrel::search
