#include "metadata/iptc_data.h"

#include <algorithm>

#include "metadata/end_ind.h"
#include "metadata/img_data.h"
#include "metadata/photoshop_resources.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

constexpr char kTagMarker = 0x1C;
// Dataset 1:90 with ISO 2022's escape sequence for UTF-8.
constexpr int kEnvelopeRecord = 1;
constexpr int kCodedCharacterSet = 90;
constexpr std::string_view kUtf8Mark = "\x1B%G";
// Longer values would need the extended length form, which few readers know.
constexpr std::size_t kMaxValueLength = 0x7FFF;

struct Dataset {
  std::uint16_t record;
  std::uint16_t dataset;
  const char* name;
  const char* label;
  int maxLength;
};

constexpr Dataset kDatasets[] = {
    {2, 0, "SKIP", "Record Version", 64},
    {2, 5, "ObjectName", "Object name", 64},
    {2, 10, "Urgency", "Urgency", 1},
    {2, 12, "SubRef", "Subject Reference", 236},
    {2, 15, "Category", "Category", 3},
    {2, 20, "SuppCategory", "Supplemental category", 32},
    {2, 22, "FixtureID", "Fixture ID", 32},
    {2, 25, "Keywords", "Keywords", 32},
    {2, 40, "SpecialInstru", "Special Instructions", 256},
    {2, 55, "DateCreated", "Date created", 8},
    {2, 60, "TimeCreated", "Time created", 11},
    {2, 65, "OriginatingProgram", "Originating Program", 32},
    {2, 70, "ProgramVersion", "Program version", 10},
    {2, 80, "ByLine", "ByLine", 32},
    {2, 85, "ByLineTitle", "ByLine Title", 32},
    {2, 90, "City", "City", 32},
    {2, 92, "SubLocation", "Sublocation", 32},
    {2, 95, "State", "Province/State", 32},
    {2, 100, "LocationCode", "Country/Primary Location Code", 3},
    {2, 101, "LocationName", "Country/Primary Location Name", 64},
    {2, 103, "TransmissionRef", "Original Transmission Reference", 32},
    {2, 105, "ImageHeadline", "Image headline", 256},
    {2, 110, "ImageCredit", "Image credit", 32},
    {2, 115, "Source", "Source", 32},
    {2, 116, "Copyright", "Copyright Notice", 128},
    {2, 118, "Contact", "Contact", 128},
    {2, 120, "ImageCaption", "Image caption", 2000},
    {2, 122, "ImageCaptionWriter", "Image caption writer", 32},
    {2, 130, "ImageType", "Image type", 2},
    {2, 131, "Orientation", "Image Orientation", 1},
    {2, 135, "LangID", "Language ID", 2},
    {8, 10, "Subfile", "Subfile", 2},
};

std::string bigEndian16(std::size_t value) {
  return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string datasetBytes(std::uint16_t record, std::uint16_t dataset, std::string_view value) {
  value = platform::utf8Prefix(value, kMaxValueLength);
  return std::string{kTagMarker, static_cast<char>(record), static_cast<char>(dataset)} +
         bigEndian16(value.size()) + std::string(value);
}

const TTagEntry* rowOf(int record, int dataset) {
  for (const TTagEntry& row : TIPTCdata::Table()) {
    if (row.IptcCode == record && row.Tag == dataset) return row.Name == "SKIP" ? nullptr : &row;
  }
  return nullptr;
}

// Where the datasets start: inside the IPTC resource when the block is a
// sound resource list, else after the first 0x1C that is followed by a record
// number, searched from the signature on.
std::size_t datasetsStart(std::string_view block) {
  const std::string_view payload = block.substr(std::min<std::size_t>(2, block.size()));
  for (const PhotoshopResource& resource : PhotoshopResourcesOf(payload)) {
    if (resource.id == kIptcResource) return static_cast<std::size_t>(resource.data.data() - block.data());
  }
  const auto signature = block.find("Photoshop 3.0");
  for (std::size_t at = signature == std::string_view::npos ? 12 : signature + 13; at + 1 < block.size(); ++at) {
    if (block[at] == kTagMarker && (block[at + 1] == 2 || block[at + 1] == 8)) return at;
  }
  return block.size();
}

}  // namespace

TIPTCdata::TIPTCdata(TimgData& owner) : Owner(owner) {}

std::span<const TTagEntry> TIPTCdata::Table() {
  static const std::vector<TTagEntry> table = [] {
    std::vector<TTagEntry> rows;
    for (const Dataset& d : kDatasets) {
      TTagEntry row;
      row.IptcCode = d.record;
      row.Tag = d.dataset;
      row.Name = d.name;
      row.Label = d.label;
      row.Size = d.maxLength;
      rows.push_back(std::move(row));
    }
    return rows;
  }();
  return table;
}

bool TIPTCdata::IsRepeatable(int dataset) { return dataset == 20 || dataset == 25; }

void TIPTCdata::Reset() {
  Entries.clear();
  CodedCharacterSet.clear();
}

void TIPTCdata::ParseIptcSection() {
  enforce(Owner.IptcSection.has_value(), "The file has no IPTC segment");
  ParseBlock(Owner.Sections[*Owner.IptcSection].Data);
}

void TIPTCdata::ParseBlock(std::string_view block) {
  Reset();
  parseDatasets(block, datasetsStart(block));
}

void TIPTCdata::parseDatasets(std::string_view block, std::size_t at) {
  // Each dataset: 0x1C, record, dataset, 16-bit length, value. A byte other
  // than 0x1C where the next one must start ends the list: what follows
  // cannot be trusted.
  while (at + 5 <= block.size() && block[at] == kTagMarker) {
    const int record = static_cast<unsigned char>(block[at + 1]);
    const int dataset = static_cast<unsigned char>(block[at + 2]);
    std::size_t length = unsignedOf(block.substr(at + 3, 2), true);
    std::size_t valueAt = at + 5;
    if (length & 0x8000) {
      // Extended form: the low bits count the bytes that hold the length.
      const std::size_t lengthBytes = length & 0x7FFF;
      if (lengthBytes > 4 || valueAt + lengthBytes > block.size()) return;
      length = unsignedOf(block.substr(valueAt, lengthBytes), true);
      valueAt += lengthBytes;
    }
    const std::string_view bytes = block.substr(valueAt, std::min(length, block.size() - valueAt));
    if (record == kEnvelopeRecord && dataset == kCodedCharacterSet) CodedCharacterSet = bytes;
    if (const TTagEntry* row = rowOf(record, dataset)) {
      // A UTF-8 value is read as such with or without the mark; anything else
      // is Latin-1 from a program that wrote no mark (or a mark of its own).
      const std::string value = platform::textFromFile(bytes);
      if (IsRepeatable(dataset)) {
        AddOrAppend(row->Name, value);
      } else {
        TTagEntry entry = *row;
        entry.DisplayText = value;
        Entries.push_back(std::move(entry));
      }
    }
    if (length > block.size() - valueAt) return;
    at = valueAt + length;
  }
}

bool TIPTCdata::ReadIptcFile(const std::filesystem::path& fileName) {
  // Reading makes the owner drop its IPTC object, which may be this one; it
  // stays alive and takes its place again.
  std::unique_ptr<TIPTCdata> self = Owner.Iptc.get() == this ? std::move(Owner.Iptc) : nullptr;
  Reset();
  Owner.ReadMetadata(fileName);
  if (self) Owner.Iptc = std::move(self);
  if (Owner.IptcSection) ParseIptcSection();
  return HasEntries();
}

int TIPTCdata::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    if (platform::equalsIgnoreCase(Entries[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

int TIPTCdata::TableIndexOfName(std::string_view name) {
  const auto table = Table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (platform::equalsIgnoreCase(table[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::string TIPTCdata::ValueOf(std::string_view name, std::string_view defaultValue) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string(defaultValue) : Entries[index].DisplayText;
}

std::vector<std::string> TIPTCdata::ListOf(std::string_view name) const {
  std::vector<std::string> items;
  const std::string text = ValueOf(name, "");
  if (text.empty()) return items;
  for (std::size_t start = 0;;) {
    const auto comma = text.find(',', start);
    items.emplace_back(platform::trimBlanks(std::string_view(text).substr(start, comma - start)));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

int TIPTCdata::SetValue(std::string_view name, std::string_view value) {
  if (const int index = IndexOfName(name); index >= 0) {
    if (!value.empty()) Entries[index].DisplayText = value;
    return index;
  }
  const int row = TableIndexOfName(name);
  if (row < 0) return -1;
  TTagEntry entry = Table()[row];
  entry.DisplayText = value;
  Entries.push_back(std::move(entry));
  return EntryCount() - 1;
}

int TIPTCdata::AddOrAppend(std::string_view name, std::string_view value) {
  const int index = IndexOfName(name);
  if (index < 0) return SetValue(name, value);
  if (!value.empty()) Entries[index].DisplayText += "," + std::string(value);
  return index;
}

std::string TIPTCdata::BuildBlock() const {
  std::string datasets;
  bool plainAscii = true;
  for (const TTagEntry& entry : Entries) {
    plainAscii = plainAscii && std::all_of(entry.DisplayText.begin(), entry.DisplayText.end(),
                                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (entry.IptcCode == 2 && IsRepeatable(entry.Tag)) {
      for (const std::string_view item : ListOf(entry.Name)) {
        if (item.empty()) continue;
        datasets += datasetBytes(entry.IptcCode, entry.Tag, item);
      }
    } else {
      datasets += datasetBytes(entry.IptcCode, entry.Tag, entry.DisplayText);
    }
  }
  // Record 1 goes ahead of the record version; ASCII reads the same in any
  // character set, so an existing mark may stay.
  const std::string_view characterSet = plainAscii ? std::string_view(CodedCharacterSet) : kUtf8Mark;
  const std::string head =
      (characterSet.empty() ? std::string() : datasetBytes(kEnvelopeRecord, kCodedCharacterSet, characterSet)) +
      std::string("\x1C\x02\x00\x00\x02\x00\x02", 7);
  if ((head.size() + datasets.size()) % 2 != 0) datasets += '\0';
  enforce(datasets.size() + head.size() <= 0xFFFF, "The IPTC data are too large for a JPEG file");
  return std::string(kPhotoshopSignature) + "8BIM" + std::string("\x04\x04\x00\x00\x00\x00", 6) +
         bigEndian16(datasets.size() + head.size()) + head + datasets + "8BIM" +
         std::string("\x04\x0B\x00\x00\x00\x00\x00\x00", 8);
}

void TIPTCdata::WriteToFile(const std::filesystem::path& fileName, const std::filesystem::path& sourceFileName) {
  const std::string image = platform::readFile(sourceFileName.empty() ? fileName : sourceFileName);
  Owner.SetIptcBlock(BuildBlock());
  Owner.SaveJpegWithMetadata(image, fileName, true);
}

}  // namespace vistrel::metadata
