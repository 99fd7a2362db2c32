#pragma once

#include <iosfwd>
#include <memory>

namespace vistrel::cli {

// While it lives, whatever a command writes to std::cout and std::cerr
// reaches the terminal with its control characters shown as escapes (see
// platform::ControlEscaper): names and metadata printed by any command cannot
// recolour or rewrite the terminal.
class EscapedOutput {
 public:
  EscapedOutput();
  ~EscapedOutput();
  EscapedOutput(const EscapedOutput&) = delete;
  EscapedOutput& operator=(const EscapedOutput&) = delete;

 private:
  class Buffer;
  std::unique_ptr<Buffer> out_;
  std::unique_ptr<Buffer> err_;
};

}  // namespace vistrel::cli
