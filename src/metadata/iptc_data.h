#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/tag_entry.h"

namespace vistrel::metadata {

class TimgData;

// The IPTC-IIM datasets of a JPEG file's APP13 ("Photoshop 3.0") segment as
// named entries. Repeatable datasets (keywords, supplemental categories) are
// one entry whose text joins the values with ",".
class TIPTCdata {
 public:
  explicit TIPTCdata(TimgData& owner);

  TimgData& Owner;
  std::vector<TTagEntry> Entries;
  // The value of dataset 1:90 as read (empty when there was none). Values are
  // kept as UTF-8 whatever it says; a block built with a value that is not
  // plain ASCII declares UTF-8 instead.
  std::string CodedCharacterSet;

  // The 32 datasets this program knows, in table order.
  static std::span<const TTagEntry> Table();
  static bool IsRepeatable(int dataset);

  void Reset();
  // Parses the owner's APP13 segment; there must be one.
  void ParseIptcSection();
  // `block` is the APP13 segment data as stored, length bytes first.
  void ParseBlock(std::string_view block);
  bool ReadIptcFile(const std::filesystem::path& fileName);

  int EntryCount() const { return static_cast<int>(Entries.size()); }
  TTagEntry EntryAt(int index) const { return Entries.at(static_cast<std::size_t>(index)); }
  bool HasEntries() const { return !Entries.empty(); }
  int IndexOfName(std::string_view name) const;
  static int TableIndexOfName(std::string_view name);
  std::string ValueOf(std::string_view name, std::string_view defaultValue) const;
  std::vector<std::string> ListOf(std::string_view name) const;
  // Replaces a non-empty value or adds the entry; −1 for a name not in the table.
  int SetValue(std::string_view name, std::string_view value);
  int AddOrAppend(std::string_view name, std::string_view value);

  // The complete APP13 payload for the entries.
  std::string BuildBlock() const;
  // Puts the entries into the JPEG file `fileName`, taking the image data from
  // `sourceFileName` (the file itself when empty). The owner must have read it.
  void WriteToFile(const std::filesystem::path& fileName, const std::filesystem::path& sourceFileName = {});

 private:
  void parseDatasets(std::string_view block, std::size_t start);
};

}  // namespace vistrel::metadata
