#include "platform/free_names.h"

#include "platform/text.h"

namespace vistrel::platform {

std::string numberedName(std::string_view name, int number) {
  std::size_t dot = name.rfind('.');
  // A leading dot starts a hidden name, not an extension.
  if (dot == 0 || dot == std::string_view::npos) dot = name.size();
  return std::string(name.substr(0, dot)) + "_" + std::to_string(number) + std::string(name.substr(dot));
}

std::string FreeNames::claim(std::string_view name) {
  std::string candidate(name);
  for (int number = 1; !taken_.insert(asciiLower(candidate)).second; ++number) {
    candidate = numberedName(name, number);
  }
  return candidate;
}

}  // namespace vistrel::platform
