#include "offscreen_support.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace vistrel::bench {

platform::Answer SilentPrompter::ask(const std::string&, const std::string&, platform::Buttons, platform::Icon) {
  return platform::Answer::Cancel;
}

void SilentPrompter::show(const std::string& text, const std::string&, platform::Icon) {
  std::fprintf(stderr, "message: %s\n", text.c_str());
}

std::optional<std::string> SilentPrompter::input(const std::string&, const std::string&, const std::string&) {
  return {};
}

void makeLinkedCorpus(const std::filesystem::path& corpus, int sources, int photos, const std::string& convertArguments) {
  std::filesystem::create_directories(corpus / "photos");
  const auto sourceOf = [&](int i) { return corpus / ("source_" + std::to_string(i) + ".jpg"); };
  for (int i = 1; i <= sources; ++i) {
    if (std::filesystem::exists(sourceOf(i))) continue;
    std::fprintf(stderr, "making %s\n", sourceOf(i).c_str());
    const std::string command =
        "convert -seed " + std::to_string(i) + " " + convertArguments + " '" + sourceOf(i).string() + "'";
    if (std::system(command.c_str()) != 0) std::exit(2);
  }
  const int digits = int(std::to_string(photos - 1).size());
  for (int i = 0; i < photos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo_%0*d.jpg", digits, i);
    const auto link = corpus / "photos" / name;
    if (!std::filesystem::exists(link)) std::filesystem::create_hard_link(sourceOf(i % sources + 1), link);
  }
}

void useOwnHome(const std::filesystem::path& home) {
  std::filesystem::create_directories(home);
  ::setenv("VISTREL_HOME", home.c_str(), 1);
  ::setenv("VISTREL_CONFIG_DIR", home.c_str(), 1);
}

long residentKb(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return 0;
}

}  // namespace vistrel::bench
