#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::search {

// The name masks of a search as the user types them: separated by semicolons
// or commas, each trimmed and lower-cased; none gives "*". A mask without "*"
// and "." looks for the text anywhere in a name ("img" is "*img*"), and one
// with "*" but without "." may go on after its text ("img*a" is "img*a*").
// Sorted, without duplicates.
std::vector<std::string> parseMaskList(std::string_view text);

// Whether a name matches a mask, both lower-cased (lowerCaseSameLength). "*" and "?" are the
// only wildcards, and a star takes the first place its text fits without
// trying later ones: "*ab" does not match "abab". Deliberately not a glob:
// users' stored searches depend on these rules.
bool maskMatches(std::string_view mask, std::string_view name);
bool anyMaskMatches(const std::vector<std::string>& masks, std::string_view name);

}  // namespace vistrel::search
