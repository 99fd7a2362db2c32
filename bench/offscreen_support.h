#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/prompter.h"

namespace vistrel::bench {

// Answers every question with Cancel and prints messages, so that a window
// benchmark never waits for a person.
class SilentPrompter : public platform::Prompter {
 public:
  platform::Answer ask(const std::string&, const std::string&, platform::Buttons, platform::Icon) override;
  void show(const std::string& text, const std::string&, platform::Icon) override;
  std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override;
};

// A folder CORPUS/photos of `photos` hard links ("photo_000.jpg" onwards) to
// `sources` pictures CORPUS/source_N.jpg, made by ImageMagick's convert with
// the arguments and a seed of N. What exists is kept, so later runs reuse it.
void makeLinkedCorpus(const std::filesystem::path& corpus, int sources, int photos, const std::string& convertArguments);

// Keeps the program's settings and data in `home` (made when missing), away from the user's.
void useOwnHome(const std::filesystem::path& home);

// A field of /proc/self/status in KB, such as "VmRSS:" or "VmHWM:"; 0 when missing.
long residentKb(const char* field);

}  // namespace vistrel::bench
