#pragma once

#include <filesystem>
#include <vector>

#include "platform/prompter.h"

namespace vistrel::gallery {

// The run's answers to "already exists" questions: images and index pages ask,
// an "All" answer stops every later question of the run.
class OverwriteGuard {
 public:
  OverwriteGuard(platform::Prompter& prompter, bool alwaysOverwrite)
      : prompter_(prompter), always_(alwaysOverwrite) {}

  // True when the file may be written; a refused file is remembered.
  bool mayWrite(const std::filesystem::path& file);
  const std::vector<std::filesystem::path>& skipped() const { return skipped_; }

 private:
  platform::Prompter& prompter_;
  bool always_;
  std::vector<std::filesystem::path> skipped_;
};

}  // namespace vistrel::gallery
