#include "metadata/exif_dates.h"

#include <algorithm>

#include "metadata/img_data.h"
#include "platform/files.h"
#include "platform/overloaded.h"
#include "platform/text.h"

namespace vistrel::metadata {

std::optional<ExifDateShift> ParseExifDateShift(std::string_view text) {
  const int sign = text.starts_with('-') ? -1 : 1;
  if (text.starts_with('-') || text.starts_with('+')) text.remove_prefix(1);
  int parts[4] = {};
  const int limits[4] = {1000000, 23, 59, 59};
  for (int i = 0; i < 4; ++i) {
    const auto colon = i < 3 ? text.find(':') : text.size();
    const std::string_view digits = text.substr(0, colon);
    if (colon == std::string_view::npos || digits.empty() || digits.find_first_not_of("0123456789") != digits.npos) {
      return std::nullopt;
    }
    const auto value = platform::parseInteger(digits);
    if (!value || *value > limits[i]) return std::nullopt;
    parts[i] = sign * static_cast<int>(*value);
    text.remove_prefix(std::min(colon + 1, text.size()));
  }
  return ExifDateShift{parts[0], parts[1], parts[2], parts[3]};
}

ExifDateResult ChangeExifDates(const std::filesystem::path& file, const ExifDateChange& change) {
  TimgData data;
  data.ReadMetadata(file);
  if (!data.HasExifBlock() || !data.Exif) return {};
  TImageInfo& exif = *data.Exif;
  int present = 0;
  for (const std::int64_t position : {exif.DateTimePos, exif.DateTimeOriginalPos, exif.DateTimeDigitizedPos}) {
    present += position > 0 ? 1 : 0;
  }
  const int unreadable = std::visit(
      Overloaded{[&](const ExifDateShift& s) { return exif.ShiftAllDates(s.days, s.hours, s.minutes, s.seconds); },
                 [&](const platform::DateTime& date) {
                   exif.SetAllDates(date);
                   return 0;
                 }},
      change);
  const ExifDateResult result{present - unreadable, unreadable};
  if (result.changed == 0) return result;
  const platform::SystemTime fileTime = platform::lastWriteTime(file);
  data.RewriteWithMetadata();
  platform::setLastWriteTime(file, fileTime);
  return result;
}

}  // namespace vistrel::metadata
