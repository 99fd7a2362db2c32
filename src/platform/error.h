#pragma once

#include <stdexcept>
#include <string>

namespace vistrel {

// The one exception type of the engine. Its message is the plain text the user
// sees: the UI shows it in the standard error box, the command line prints it.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws Error(message) unless the condition holds. Readers of outside data
// check every length and offset taken from a file with it, one line each.
inline void enforce(bool condition, const char* message) {
  if (!condition) throw Error(message);
}

}  // namespace vistrel
