#include "support/awkward_names.h"

namespace vistrel::test {

std::span<const AwkwardName> awkwardNames() {
  static const std::vector<AwkwardName> names = {
      {"two  blanks and a trailing one ", "two  blanks and a trailing one "},
      {"\u00c5lesund b\u00e5t", "\u00c5lesund b\u00e5t"},              // composed (NFC)
      {"A\u030alesund ba\u030at", "A\u030alesund ba\u030at"},          // decomposed (NFD)
      {"caf\u00e9 #1 & 100%", "caf\u00e9 #1 & 100%"},                  // a fragment, an escape
      {"what?", "what?"},                                              // a query
      {"back\\slash", "back\\slash"},
      {"\"quoted\" 'single'", "\"quoted\" 'single'"},
      {"a<b>", "a<b>"},
      {"tab\there", "tab\there"},
      {"line\nbreak", "line\nbreak"},
      {"\u0141\u00f3d\u017a \u2013 zima", "\u0141\u00f3d\u017a \u2013 zima"},
      {"-starts-with-a-dash", "-starts-with-a-dash"},
      {"latin1 \xE9t\xE9", "latin1 \u00e9t\u00e9"},                    // Latin-1 on disk, not UTF-8
  };
  return names;
}

std::vector<std::filesystem::path> writeAwkwardFiles(const TempFolder& folder, const std::string& subfolder,
                                                     const std::string& extension, const std::string& content) {
  std::vector<std::filesystem::path> files;
  for (const AwkwardName& name : awkwardNames()) {
    files.push_back(folder.write(subfolder + "/" + name.onDisk + extension, content));
  }
  return files;
}

}  // namespace vistrel::test
