#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dates.h"

namespace vistrel::metadata {

class TIPTCdata;

// The urgency as the editor offers it: "High", "2" … "7", "Normal", "Low",
// "None". Index i stands for the IPTC value i + 1; "None" writes no value.
inline constexpr int kNormalUrgency = 4;
inline constexpr int kNoUrgency = 8;
std::span<const char* const> UrgencyTexts();
// The index of an urgency text, ignoring case; nothing for another text.
std::optional<int> UrgencyIndexOf(std::string_view text);

// The fields of the IPTC editor: what it reads from a photo, what a template
// holds and what a save writes back. Texts are UTF-8.
struct IptcFields {
  std::string caption, captionWriter, headline, objectName, byline, bylineTitle, copyrightNotice;
  std::string category;
  std::vector<std::string> keywords, suppCategories;
  std::string credit, source;
  std::optional<platform::DateTime> dateCreated;  // the day only; nothing writes no date
  int urgency = kNoUrgency;
  std::string city, state, country, specialInstructions, transmissionReference;

  bool operator==(const IptcFields&) const = default;
};

// One text field: its key in template files and on the command line, the
// template section, the editor's limit in bytes, the dataset it is written to
// and the label of the entry it is read from.
struct IptcTextField {
  const char* key;
  const char* section;
  std::string IptcFields::*member;
  std::size_t maxBytes;
  const char* dataset;
  const char* label;
};
// In the order of the template file.
std::span<const IptcTextField> IptcTextFields();
const IptcTextField* IptcTextFieldOf(std::string_view key);  // ignoring case

// The fields of the datasets of `iptc`. A date that cannot be read is left out.
IptcFields IptcFieldsOf(const TIPTCdata& iptc);
// Replaces every entry of `iptc` by the fields: datasets the editor has no
// field for are dropped, empty texts become empty datasets, each text is cut
// to its limit at a character boundary.
void PutIptcFields(const IptcFields& fields, TIPTCdata& iptc);

// The fields of a file; empty fields when it has no IPTC block.
IptcFields ReadIptcFields(const std::filesystem::path& file);
// Rebuilds the file's IPTC block from the fields, keeping everything else of
// the file. With `keepFileTime` its last-write time stays as it was. Throws
// Error (a read-only file, a file that is no JPEG, a failed write); the file
// is then as it was.
void WriteIptcFields(const std::filesystem::path& file, const IptcFields& fields, bool keepFileTime);

}  // namespace vistrel::metadata
