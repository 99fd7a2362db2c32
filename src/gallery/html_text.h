#pragma once

#include <string>
#include <string_view>

namespace vistrel::gallery {

// Text from file names and metadata made safe to put into a page, also inside
// a quoted attribute: & < > " become entities.
std::string htmlEscape(std::string_view text);

// A relative or absolute file path as a URL for a page: every byte of each
// "/"-separated segment other than letters, digits and "-._~" percent-encoded
// (RFC 3986). The path's own bytes are encoded, so a browser that decodes the
// URL arrives at the file's name on disk even when that is not UTF-8. The
// result needs no HTML escaping. Every link and image source goes through here.
std::string pageUrl(std::string_view path);

// Replaces every occurrence of `what`, found without regard to letter case;
// text inserted is not searched again.
std::string replaceAllIgnoreCase(std::string text, std::string_view what, std::string_view with);

}  // namespace vistrel::gallery
