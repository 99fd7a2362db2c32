#pragma once

#include <cstdio>

#include "gallery/run_observer.h"

namespace vistrel::cli {

// The run's progress on standard error: a bar that redraws itself on a
// terminal, one line per image elsewhere, nothing when quiet. Files left out
// and photos that could not be made are named even when quiet.
class TerminalProgress : public gallery::RunObserver {
 public:
  TerminalProgress(bool quiet, bool terminal, std::FILE* out = stderr)
      : quiet_(quiet), terminal_(terminal), out_(out) {}

  void progress(int position, int total, const std::filesystem::path& source) override;
  void status(const std::string& text) override;
  void fileLeftOut(const gallery::FileProblem& problem) override;
  void photoFailed(const gallery::FileProblem& problem) override;
  void closeProgress() override;

 private:
  void endBar();
  void line(const std::string& text);

  bool quiet_;
  bool terminal_;
  std::FILE* out_;
  bool barShown_ = false;
};

}  // namespace vistrel::cli
