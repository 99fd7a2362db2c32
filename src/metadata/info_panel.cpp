#include "metadata/info_panel.h"

#include "metadata/descriptions.h"
#include "metadata/img_data.h"
#include "platform/files.h"

namespace vistrel::metadata {
namespace {

const std::string kRule(25, '-');

}  // namespace

std::string ExifTabText(const TimgData& data, bool rawExif) {
  if (!data.HasExifBlock() || !data.Exif) return "No EXIF info found";
  const TImageInfo& exif = *data.Exif;
  std::string text = "EXIF overview:\r\n" + kRule + "\r\n" + exif.BriefText() + "\r\n\r\n";
  if (rawExif) {
    text += "EXIF Data:\r\n" + kRule + "\r\nErrStr = " + data.ErrorText + "\r\n" +
            (data.BigEndian ? "Motorola Byte Order" : "Intel Byte Order") + exif.ListingText + "\r\n";
  }
  if (exif.MakerNoteResult) text += " \r\nMaker Specific Data:\r\n" + kRule + exif.MakerNoteListing + "\r\n";
  return text;
}

bool IsExifTabHeading(const std::string& line) {
  return line == "EXIF overview:" || line == "EXIF Data:" || line == "Maker Specific Data:";
}

InfoPanelTexts InfoPanelTextsOf(const std::filesystem::path& file, bool rawExif) {
  InfoPanelTexts texts;
  texts.description = DescriptionOf(file);
  const std::string extension = platform::lowerExtension(file);
  if (extension != ".jpg" && extension != ".jpeg" && extension != ".tif" && extension != ".nef") {
    texts.exif = "Unsupported file format";
    return texts;
  }
  texts.iptcEditable = extension == ".jpg" || extension == ".jpeg";
  TimgData data;
  data.ReadMetadata(file);
  texts.exif = ExifTabText(data, rawExif);
  if (data.Exif) texts.overview = data.Exif->BriefText();
  if (data.Iptc) {
    data.Iptc->ParseIptcSection();
    texts.iptc = data.Iptc->ValueOf("ImageCaption", "");
  }
  return texts;
}

}  // namespace vistrel::metadata
