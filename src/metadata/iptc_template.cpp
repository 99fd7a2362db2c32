#include "metadata/iptc_template.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

constexpr const char* kListSection = "Caption";
constexpr const char* kUrgencySection = "Origin";

struct TemplateList {
  const char* keyPrefix;
  std::vector<std::string> IptcFields::*member;
};
constexpr TemplateList kLists[] = {{"Keyword", &IptcFields::keywords}, {"SuppCat", &IptcFields::suppCategories}};

bool listed(const std::vector<std::string>& items, const std::string& value) {
  return std::any_of(items.begin(), items.end(),
                     [&](const std::string& item) { return platform::equalsIgnoreCase(item, value); });
}

}  // namespace

std::vector<std::string> IptcTemplateNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return names;
  for (const platform::FolderEntry& entry : platform::listFolder(folder)) {
    if (!entry.isFolder && platform::lowerExtension(entry.path) == ".vit") {
      names.push_back(platform::displayName(entry.path.filename()));
    }
  }
  return names;
}

void LoadIptcTemplate(const std::filesystem::path& file, IptcFields& fields) {
  std::error_code error;
  enforce(std::filesystem::is_regular_file(file, error), "The template file does not exist");
  const platform::IniFile ini = platform::IniFile::load(file);
  for (const IptcTextField& field : IptcTextFields())
    fields.*field.member = ini.readString(field.section, field.key, "");
  const int urgency = ini.readInteger(kUrgencySection, "Urgency", kNormalUrgency);
  fields.urgency = urgency >= 0 && urgency <= kNoUrgency ? urgency : kNormalUrgency;
  for (const TemplateList& list : kLists) {
    std::vector<std::string>& items = fields.*list.member;
    items.clear();
    for (int n = 0; n < kTemplateListLimit; ++n) {
      const std::string value = ini.readString(kListSection, list.keyPrefix + std::to_string(n), "");
      if (!value.empty() && !listed(items, value)) items.push_back(value);
    }
  }
}

void SaveIptcTemplate(const std::filesystem::path& file, const IptcFields& fields) {
  platform::IniFile ini;
  for (const IptcTextField& field : IptcTextFields()) ini.writeString(field.section, field.key, fields.*field.member);
  for (const TemplateList& list : kLists) {
    const std::vector<std::string>& items = fields.*list.member;
    for (std::size_t n = 0; n < items.size(); ++n) {
      ini.writeString(kListSection, list.keyPrefix + std::to_string(n), items[n]);
    }
  }
  ini.writeInteger(kUrgencySection, "Urgency", fields.urgency);
  ini.save(file);
}

}  // namespace vistrel::metadata
