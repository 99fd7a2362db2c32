#pragma once

#include <string>
#include <string_view>

namespace vistrel::platform {

// Text bound for a terminal shows its control characters as escapes: ESC as
// "\x1b", the C1 controls of UTF-8 as "\u009b" and so on, so that a file name
// or a caption cannot recolour or rewrite the user's terminal. Line feeds,
// tabs and CR LF pairs (files we print in Windows form) stay as they are. Fed
// byte by byte, so that a stream can use it.
class ControlEscaper {
 public:
  // What to write for this byte (possibly nothing yet, when it is held).
  std::string feed(char c);
  // What is still held back at the end of the text.
  std::string finish();

 private:
  // A byte whose meaning depends on the next: the first of U+0080 to U+00FF,
  // or a CR that may begin a CR LF pair.
  enum class Held { Nothing, C2, Cr };
  Held held_ = Held::Nothing;
};

std::string escapeControls(std::string_view text);

}  // namespace vistrel::platform
