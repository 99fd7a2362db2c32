#include "support/awkward_names.h"

namespace vistrel::test {

std::span<const std::string> awkwardNames() {
  static const std::vector<std::string> names = {
      "two  blanks and a trailing one ",
      "\xC3\x85lesund b\xC3\xA5t",        // composed (NFC)
      "A\xCC\x8Alesund ba\xCC\x8At",      // decomposed (NFD), as some file systems store it
      "caf\xC3\xA9 #1 & 100%",
      "it's \"quoted\" <b>",
      "-starts-with-a-dash",
      "Fjord caf\xE9",                    // Latin-1, not UTF-8
  };
  return names;
}

std::vector<std::filesystem::path> writeAwkwardFiles(const TempFolder& folder, const std::string& subfolder,
                                                     const std::string& extension, const std::string& content) {
  std::vector<std::filesystem::path> files;
  for (const std::string& name : awkwardNames()) files.push_back(folder.write(subfolder + "/" + name + extension, content));
  return files;
}

}  // namespace vistrel::test
