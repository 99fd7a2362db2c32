#pragma once

// What the rest of the program reads from a photo's metadata, in one place:
//  - the value texts of an EXIF block (ExposureText, FocalText, CameraText;
//    TImageInfo::InfoText and BriefText in image_info.h),
//  - the values behind the gallery's "%exif…" caption placeholders
//    (ExifCaptionValuesOf), its IPTC placeholders (IptcValueOfFile) and
//    "%desc" (DescriptionOf in descriptions.h),
//  - the photo date of a file (PhotoDateOfFile), used by the rename tool,
//  - the EXIF copy into a gallery's output JPEG (CopyExifToOutput).
// Text functions never fail: missing data give empty texts.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "metadata/image_info.h"
#include "platform/dates.h"

namespace vistrel::metadata {

class TimgData;

// "10/1250" -> "1/125", "13/10" -> "1.3"; other texts unchanged.
std::string ExposureText(std::string_view displayText);
// The focal length display text up to its first comma.
std::string FocalText(std::string_view displayText);
// Make and model, separated by a blank.
std::string CameraText(const TImageInfo& exif);

// The texts the "%exif…" placeholders insert. `all` is InfoText with its CR LF
// line breaks; the page writer wraps it and turns the breaks into "<br>".
struct ExifCaptionValues {
  std::string date;         // %exifdate
  std::string focalLength;  // %exiffocallength
  std::string exposure;     // %exifexposure
  std::string aperture;     // %exifaperture
  std::string camera;       // %exifcamera
  std::string flash;        // %exifflash
  std::string all;          // %exifall
};
// Nothing when the file has no EXIF segment (the placeholders are removed then).
std::optional<ExifCaptionValues> ExifCaptionValuesOf(const TimgData& data);
std::optional<ExifCaptionValues> ExifCaptionValuesOf(const std::filesystem::path& source);

// The value of an IPTC dataset by name ("ImageCaption", "ImageHeadline",
// "ImageCredit" …); empty when the file has none.
std::string IptcValueOfFile(const std::filesystem::path& file, std::string_view name);

// The EXIF Orientation value (1-8) of the photo; 1 when it has none or an
// invalid one.
int ExifOrientationOfFile(const std::filesystem::path& file);

// The EXIF date of the photo, else the file's last-write time. Throws Error
// when the file cannot be read at all.
platform::DateTime PhotoDateOfFile(const std::filesystem::path& file);

// After the gallery has written `output` from the JPEG `source`: puts the
// source's EXIF block (with the output's image size) into `output`. Returns
// whether it did; failures leave `output` as it was.
bool CopyExifToOutput(const std::filesystem::path& source, const std::filesystem::path& output);

}  // namespace vistrel::metadata
