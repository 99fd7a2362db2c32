#include "cli/terminal_progress.h"

#include <string>

#include "cli/terminal_prompter.h"
#include "platform/text.h"

namespace vistrel::cli {

void TerminalProgress::progress(int position, int total, const std::filesystem::path& source) {
  if (quiet_) return;
  const std::string text = "Processing " + std::to_string(position) + " of " + std::to_string(total);
  if (!terminal_) {
    std::fprintf(out_, "%s: %s\n", text.c_str(), terminalText(platform::displayName(source.filename())).c_str());
    return;
  }
  constexpr int kWidth = 30;
  const int filled = total > 0 ? position * kWidth / total : kWidth;
  std::fprintf(out_, "\r\033[K[%s%s] %s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), text.c_str());
  std::fflush(out_);
  barShown_ = true;
}

void TerminalProgress::status(const std::string& text) {
  if (!quiet_) line(text);
}

void TerminalProgress::fileLeftOut(const gallery::FileProblem& problem) {
  line("Left out " + platform::displayName(problem.file) + ": " + problem.reason);
}

void TerminalProgress::photoFailed(const gallery::FileProblem& problem) {
  line("Could not make " + platform::displayName(problem.file) + ": " + problem.reason);
}

void TerminalProgress::line(const std::string& text) {
  endBar();
  std::fprintf(out_, "%s\n", terminalText(text).c_str());
}

void TerminalProgress::closeProgress() { endBar(); }

void TerminalProgress::endBar() {
  if (!barShown_) return;
  std::fprintf(out_, "\n");
  barShown_ = false;
}

}  // namespace vistrel::cli
