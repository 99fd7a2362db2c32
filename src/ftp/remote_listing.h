#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::ftp {

// One entry of a remote folder listing.
struct RemoteEntry {
  std::string name;
  bool folder = false;
  std::optional<std::uint64_t> size;  // unknown when the listing has none

  bool operator==(const RemoteEntry&) const = default;
};

// A line of an MLSD reply ("type=file;size=12;modify=...; name"). Nothing for
// the folder itself, its parent, and lines that do not parse.
std::optional<RemoteEntry> parseMlsdLine(std::string_view line);

// A line of a LIST reply, in the Unix form ("-rw-r--r-- 1 user group 12 Mar 3
// 12:00 name") or the DOS form ("03-03-20 12:00PM 12 name", "<DIR>" for
// folders). Nothing for totals, "." and "..", and lines that do not parse.
std::optional<RemoteEntry> parseListLine(std::string_view line);

// Every entry of a reply, one a line (LF or CR LF).
std::vector<RemoteEntry> parseListing(std::string_view text, bool mlsd);

}  // namespace vistrel::ftp
