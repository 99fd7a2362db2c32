#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vistrel::cli {

// One option of a command, as its help lists it.
struct OptionSpec {
  std::string_view name;         // "--jobs"
  std::string_view valueName;    // "N"; empty for a switch
  std::string_view help;         // what it does, in a sentence or two
  std::string_view shortName{};  // "-q", where there is one
};

// The command line of one command: options in the order given (so that later
// ones win, and "--settings" then "--set" apply in turn), then the operands.
struct ParsedArguments {
  std::vector<std::pair<std::string, std::string>> options;  // long name, value ("" for a switch)
  std::vector<std::string> operands;

  bool has(std::string_view name) const;
  // The value of the last occurrence.
  std::optional<std::string> last(std::string_view name) const;
  std::vector<std::string> all(std::string_view name) const;
};

// Accepts "--name value", "--name=value" and the short names; "--" ends the
// options and "-" is an operand. Throws UsageError for an unknown option or a
// missing value.
ParsedArguments parseArguments(std::span<const OptionSpec> specs, const std::vector<std::string>& args);

// The value of a numeric option; throws UsageError unless it is a whole number from low to high.
int parseNumberOption(std::string_view option, const std::string& text, int low, int high);

// True when the arguments ask for help (before any "--").
bool asksForHelp(const std::vector<std::string>& args);

}  // namespace vistrel::cli
