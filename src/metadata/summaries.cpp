#include "metadata/summaries.h"

#include "metadata/exif_text.h"
#include "metadata/img_data.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

constexpr const char* kLineBreak = "\r\n";

std::string joinLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : kLineBreak) + line;
  return text;
}

std::string cameraLine(const TImageInfo& exif) {
  return "Camera: " + exif.CameraMake + " (" + exif.CameraModel + ")";
}

bool readWell(const TimgData& data) { return data.HasExifBlock() && data.ErrorText == "<none>"; }

}  // namespace

std::string ExposureText(std::string_view displayText) {
  const auto slash = displayText.find('/');
  if (slash == std::string_view::npos) return std::string(displayText);
  const auto a = platform::parseInteger(displayText.substr(0, slash));
  const auto b = platform::parseInteger(displayText.substr(slash + 1));
  if (!a || !b || *a == 0 || *b == 0) return std::string(displayText);
  if (*b < *a) return FormatReal("%.15g", static_cast<double>(*a) / *b);
  return "1/" + FormatReal("%.15g", static_cast<double>(*b) / *a);
}

std::string FocalText(std::string_view displayText) { return std::string(displayText.substr(0, displayText.find(','))); }

std::string CameraText(const TImageInfo& exif) { return exif.CameraMake + " " + exif.CameraModel; }

std::string TImageInfo::InfoText() const {
  if (!Owner.HasExifBlock()) return {};
  const std::string name = "File Name: " + platform::displayName(Owner.FileName.filename());
  if (Owner.ErrorText != "<none>") return joinLines({name, "Exif Error: " + Owner.ErrorText});
  std::string text = joinLines(
      {name, "File Size: " + std::to_string(Owner.FileSize / 1024) + "k",
       "File Date: " + platform::shortDateText(platform::toLocal(Owner.FileDate)), "Photo Date: " + CameraDate,
       cameraLine(*this), "Dimensions: " + std::to_string(ImageWidth) + " x " + std::to_string(ImageHeight)});
  const auto line = [&](const std::string& label, const std::string& value, const std::string& unit = "") {
    if (!value.empty()) text += kLineBreak + label + value + unit;
  };
  if (const std::string exposure = ExposureText(ValueOfName("ExposureTime")); !exposure.empty()) {
    line("Exposure: ", exposure, " sec");
  } else {
    line("Exposure Time: ", ExposureText(ValueOfName("ShutterSpeedValue")), " sec");
  }
  line("Focal length: ", FocalText(ValueOfName("FocalLength")), " mm");
  line("Focal Length (35mm): ", ValueOfName("FocalLengthin35mmFilm"));
  line("Aperture: ", ValueOfName("FNumber"));
  line("ISO: ", ValueOfName("ISOSpeedRatings"));
  return text + kLineBreak + "Flash: " + ValueOfName("Flash");
}

std::string TImageInfo::BriefText() const {
  if (!readWell(Owner)) return {};
  return joinLines({"EXIF date/time: " + CameraDate, cameraLine(*this),
                    "Focal length: " + FocalText(ValueOfName("FocalLength")) + " mm",
                    "Exposure: " + ExposureText(ValueOfName("ExposureTime")) + " sec",
                    "Aperture: " + ValueOfName("FNumber"), "ISO: " + ValueOfName("ISOSpeedRatings"),
                    "Flash: " + ValueOfName("Flash")});
}

std::optional<ExifCaptionValues> ExifCaptionValuesOf(const TimgData& data) {
  if (!data.HasExifBlock() || !data.Exif) return std::nullopt;
  const TImageInfo& exif = *data.Exif;
  return ExifCaptionValues{exif.CameraDate,
                           FocalText(exif.ValueOfName("FocalLength")) + " mm",
                           ExposureText(exif.ValueOfName("ExposureTime")),
                           exif.ValueOfName("FNumber"),
                           CameraText(exif),
                           std::to_string(exif.FlashValue),
                           exif.InfoText()};
}

std::optional<ExifCaptionValues> ExifCaptionValuesOf(const std::filesystem::path& source) {
  TimgData data;
  data.ReadMetadata(source);
  return ExifCaptionValuesOf(data);
}

std::string IptcValueOfFile(const std::filesystem::path& file, std::string_view name) {
  TimgData data;
  data.ReadMetadata(file);
  if (!data.Iptc) return {};
  data.Iptc->ParseIptcSection();
  return data.Iptc->ValueOf(name, "");
}

int ExifOrientationOfFile(const std::filesystem::path& file) {
  TimgData data;
  data.ReadMetadata(file);
  if (!data.Exif || data.Exif->IndexOfName("Orientation") < 0) return 1;
  const long long orientation = data.Exif->IntegerOfName("Orientation");
  return orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
}

platform::DateTime PhotoDateOfFile(const std::filesystem::path& file) {
  TimgData data;
  data.ReadMetadata(file);
  if (data.Exif) {
    if (const auto date = ParseExifDate(data.Exif->CameraDate)) return *date;
  }
  return platform::toLocal(platform::lastWriteTime(file));
}

}  // namespace vistrel::metadata
