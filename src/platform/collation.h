#pragma once

#include <memory>
#include <string_view>

namespace vistrel::platform {

// Compares two UTF-8 texts the way the user's locale orders words: accented
// letters sort with their letter, and upper and lower case together, case
// deciding only between texts that differ in nothing else. With
// numbersByValue, a run of digits counts as the number it makes ("img2"
// before "img10"). The C locale, which knows no words, orders as English
// does. Negative when a comes first, 0 when equal.
int compareLocaleText(std::string_view a, std::string_view b, bool numbersByValue);

// A text's place in that order, worked out once: sorting 100,000 names makes
// some 1.7 million comparisons, and comparing keys spares converting and
// collating both names each time. Keys compare as compareLocaleText compares
// their texts, as long as the locale stays the same.
class CollationKey {
 public:
  CollationKey(std::string_view text, bool numbersByValue);
  int compare(const CollationKey& other) const;

 private:
  struct Keys;
  std::shared_ptr<const Keys> keys_;
};

}  // namespace vistrel::platform
