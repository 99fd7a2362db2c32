#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "metadata/iptc_fields.h"

namespace vistrel::metadata {

// IPTC templates: the editor's fields (all but the date) in an INI file with
// the extension ".vit", kept in the folder "IPTCTemplates" of the program data.
inline constexpr const char* kIptcTemplateFolder = "IPTCTemplates";
// How many keywords and supplemental categories a template gives at most.
inline constexpr int kTemplateListLimit = 11;

// The names of the ".vit" files of the folder, sorted; empty when it is missing.
std::vector<std::string> IptcTemplateNames(const std::filesystem::path& folder);

// Sets every field but the date from the template: a missing key gives an
// empty text (the urgency "Normal"); of the lists, the first 11 entries count,
// and a value already listed (ignoring case) or empty is left out. Throws
// Error when the file cannot be read.
void LoadIptcTemplate(const std::filesystem::path& file, IptcFields& fields);
// Writes the fields but the date; line breaks become blanks. Throws Error.
void SaveIptcTemplate(const std::filesystem::path& file, const IptcFields& fields);

}  // namespace vistrel::metadata
