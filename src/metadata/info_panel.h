#pragma once

#include <filesystem>
#include <string>

namespace vistrel::metadata {

class TimgData;

// The EXIF tab of the info panel for a file that has been read: the overview,
// with `rawExif` the full listing, and the maker-note listing when a maker
// was recognised. Lines end in CR LF.
std::string ExifTabText(const TimgData& data, bool rawExif);

// The lines of ExifTabText that the panel shows highlighted.
bool IsExifTabHeading(const std::string& line);

// Everything the info panel shows for one file.
struct InfoPanelTexts {
  std::string exif;
  std::string overview;  // the EXIF overview alone (BriefText)
  std::string iptc;      // the IPTC caption
  std::string description;
  bool iptcEditable = false;
};
// Throws Error when the folder's description file cannot be read.
InfoPanelTexts InfoPanelTextsOf(const std::filesystem::path& file, bool rawExif);

}  // namespace vistrel::metadata
