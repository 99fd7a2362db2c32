#include "gallery/overwrite_guard.h"

#include "platform/text.h"

namespace vistrel::gallery {

bool OverwriteGuard::mayWrite(const std::filesystem::path& file) {
  std::error_code ec;
  if (always_ || !std::filesystem::exists(file, ec)) return true;
  const auto answer = prompter_.ask(platform::displayName(file) + " already exists.\rDo you want to replace it?",
                                    "Confirm", platform::Buttons::YesNoAll, platform::Icon::Question);
  if (answer == platform::Answer::All) always_ = true;
  if (answer == platform::Answer::No) {
    skipped_.push_back(file);
    return false;
  }
  return true;
}

}  // namespace vistrel::gallery
