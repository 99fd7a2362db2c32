#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "metadata/tag_entry.h"

namespace vistrel::metadata {

// One line that a formatter unpacks from a packed maker value.
struct MakerLine {
  std::string label;
  std::string value;
};
// Unpacks a packed value, given as all its components joined by ", ", into
// named lines; lines without a value are left out.
using LineFormatter = std::vector<MakerLine> (*)(const std::string& components);

// A row of a camera maker's tag table. A row labelled "Skip" (any case) is
// never listed. A row has at most one of the two formatters.
struct MakerTagRow {
  std::uint16_t tag;
  const char* label;
  const char* decodeList = "";
  TagFormatter formatter = nullptr;  // the value as one text
  LineFormatter lines = nullptr;     // the value as lines of their own
};

enum class MakerTable { NikonType1, NikonType2, Olympus, Casio, Fujifilm, Canon, SeikoEpson, Sanyo, Minolta };

std::span<const MakerTagRow> MakerTagTable(MakerTable table);
// The first row for the tag, or nothing.
const MakerTagRow* FindMakerRow(std::span<const MakerTagRow> table, std::uint16_t tag);
bool IsSkipRow(const MakerTagRow& row);

}  // namespace vistrel::metadata
