#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "metadata/tag_entry.h"

namespace vistrel::metadata {

// Bytes per component of an EXIF field type; 0 for types outside 1…12.
int ComponentSize(std::uint32_t format);

// The tag tables with their labels filled in (a row without a label of its own
// gets SpacedName of its name). Built once, on first use, thread-safely.
std::span<const TTagEntry> MainTagTable();
std::span<const TTagEntry> GpsTagTable();
// The row that stands for any tag a table does not know.
const TTagEntry& UnknownTagRow();

// The row for the tag, or UnknownTagRow().
const TTagEntry& FindTagRow(std::span<const TTagEntry> table, std::uint16_t tag);
// The main-table row whose name matches ignoring case, or UnknownTagRow().
const TTagEntry& FindTagRowByName(std::string_view name);

}  // namespace vistrel::metadata
