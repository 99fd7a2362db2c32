#include "browser/picture_texts.h"

#include <system_error>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::browser {

std::string FullScreenInfoText(const std::filesystem::path& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  std::string text = "File size: " + std::to_string(error ? 0 : size / 1024) + " KB    File date: ";
  try {
    text += platform::dateTimeText(platform::toLocal(platform::lastWriteTime(file)));
  } catch (const Error&) {
    // A file that is gone has no date to show.
  }
  return text;
}

std::string PrintTitle(const std::string& file, const platform::DateTime& printed) {
  return file + " printed " + platform::dateTimeText(printed);
}

}  // namespace vistrel::browser
