#include "metadata/iptc_fields.h"

#include <array>
#include <cstdio>

#include "metadata/img_data.h"
#include "metadata/iptc_data.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

using F = IptcFields;

constexpr const char* kUrgencyTexts[] = {"High", "2", "3", "4", "Normal", "6", "7", "Low", "None"};

// Template order, which is also the order of the datasets a save writes, with
// the two lists after "Category" and the date and urgency after "Source".
const IptcTextField kTextFields[] = {
    {"Caption", "Caption", &F::caption, 20000, "ImageCaption", "Image caption"},
    {"CaptionWriter", "Caption", &F::captionWriter, 300, "ImageCaptionWriter", "Image caption writer"},
    {"Headline", "Caption", &F::headline, 1500, "ImageHeadline", "Image headline"},
    {"ObjectName", "Caption", &F::objectName, 300, "ObjectName", "Object name"},
    {"Byline", "Caption", &F::byline, 200, "ByLine", "ByLine"},
    {"BylineTitle", "Caption", &F::bylineTitle, 10, "ByLineTitle", "ByLine Title"},
    {"CopyrightNotice", "Caption", &F::copyrightNotice, 300, "Copyright", "Copyright Notice"},
    {"Category", "Category", &F::category, 3, "Category", "Category"},
    {"Credit", "Origin", &F::credit, 200, "ImageCredit", "Image credit"},
    {"Source", "Origin", &F::source, 200, "Source", "Source"},
    {"City", "Origin", &F::city, 200, "City", "City"},
    {"State", "Origin", &F::state, 100, "State", "Province/State"},
    {"Country", "Origin", &F::country, 100, "LocationName", "Country/Primary Location Name"},
    {"SpecialInstructions", "Origin", &F::specialInstructions, 10000, "SpecialInstru", "Special Instructions"},
    {"TransRef", "Origin", &F::transmissionReference, 200, "TransmissionRef", "Original Transmission Reference"},
};

// "yyyymmdd"; nothing for any other text or an impossible day.
std::optional<platform::DateTime> dateOfIptc(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  const auto number = [&](std::size_t at, std::size_t length) {
    const auto value = platform::parseInteger(text.substr(at, length));
    return value && *value >= 0 ? static_cast<int>(*value) : -1;
  };
  const platform::DateTime date{number(0, 4), number(4, 2), number(6, 2), 0, 0, 0, 0};
  if (!date.isValid()) return std::nullopt;
  return date;
}

std::string iptcDateText(const platform::DateTime& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year % 10000, date.month, date.day);
  return text;
}

int urgencyOf(std::string_view text) {
  const auto value = platform::parseInteger(platform::trimBlanks(text));
  return value && *value >= 1 && *value <= kNoUrgency ? static_cast<int>(*value) - 1 : kNoUrgency;
}

}  // namespace

std::span<const char* const> UrgencyTexts() { return kUrgencyTexts; }

std::optional<int> UrgencyIndexOf(std::string_view text) {
  for (std::size_t i = 0; i < std::size(kUrgencyTexts); ++i) {
    if (platform::equalsIgnoreCase(kUrgencyTexts[i], text)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::span<const IptcTextField> IptcTextFields() { return kTextFields; }

const IptcTextField* IptcTextFieldOf(std::string_view key) {
  for (const IptcTextField& field : kTextFields) {
    if (platform::equalsIgnoreCase(field.key, key)) return &field;
  }
  return nullptr;
}

IptcFields IptcFieldsOf(const TIPTCdata& iptc) {
  IptcFields fields;
  // By label and in list order, so that a later entry of a name wins.
  for (const TTagEntry& entry : iptc.Entries) {
    for (const IptcTextField& field : kTextFields) {
      if (entry.Label == field.label) fields.*field.member = entry.DisplayText;
    }
    if (entry.Label == "Date created") fields.dateCreated = dateOfIptc(entry.DisplayText);
    if (entry.Label == "Urgency") fields.urgency = urgencyOf(entry.DisplayText);
  }
  fields.keywords = iptc.ListOf("Keywords");
  fields.suppCategories = iptc.ListOf("SuppCategory");
  return fields;
}

void PutIptcFields(const IptcFields& fields, TIPTCdata& iptc) {
  iptc.Entries.clear();
  for (const IptcTextField& field : kTextFields) {
    iptc.SetValue(field.dataset, platform::utf8Prefix(fields.*field.member, field.maxBytes));
    if (field.member == &F::category) {
      for (const std::string& item : fields.suppCategories) iptc.AddOrAppend("SuppCategory", item);
      for (const std::string& item : fields.keywords) iptc.AddOrAppend("Keywords", item);
    } else if (field.member == &F::source) {
      if (fields.dateCreated) iptc.SetValue("DateCreated", iptcDateText(*fields.dateCreated));
      iptc.SetValue("Urgency", fields.urgency == kNoUrgency ? std::string() : std::to_string(fields.urgency + 1));
    }
  }
}

IptcFields ReadIptcFields(const std::filesystem::path& file) {
  TimgData data;
  data.ReadMetadata(file);
  if (!data.Iptc) return {};
  data.Iptc->ParseIptcSection();
  return IptcFieldsOf(*data.Iptc);
}

void WriteIptcFields(const std::filesystem::path& file, const IptcFields& fields, bool keepFileTime) {
  const platform::SystemTime fileTime = platform::lastWriteTime(file);
  TimgData data;
  data.ReadMetadata(file);
  TIPTCdata& iptc = data.EnsureIptc();
  PutIptcFields(fields, iptc);
  iptc.WriteToFile(file);
  if (keepFileTime) platform::setLastWriteTime(file, fileTime);
}

}  // namespace vistrel::metadata
