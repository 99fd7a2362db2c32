#pragma once

#include <cstdint>
#include <string>

namespace vistrel::metadata {

// EXIF field types.
enum : std::uint16_t {
  kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kSByte = 6, kUndefined = 7,
  kSShort = 8, kSLong = 9, kSRational = 10, kFloat = 11, kDouble = 12
};

// Turns a formatted value into the text the listing shows.
using TagFormatter = std::string (*)(const std::string& displayText);

// One tag: a row of a tag table, or an entry parsed from a file (then the
// value fields are filled in). IPTC datasets use the same record.
struct TTagEntry {
  std::int32_t TableId = 0;  // 0 standard tables, 1 maker notes
  std::uint16_t Format = 0;
  std::uint16_t IptcCode = 0;  // IIM record number of IPTC entries
  std::uint16_t Tag = 0;       // 0: not a known tag
  std::string Name;
  std::string Label;
  std::string DecodeList;  // "value:meaning,…"
  std::string DisplayText;
  std::string RawBytes;
  std::int64_t ValuePosition = 0;  // 1-based, in the EXIF buffer
  std::string FormatString;
  std::int64_t Size = 0;
  TagFormatter Formatter = nullptr;
};

}  // namespace vistrel::metadata
