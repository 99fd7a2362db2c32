#include "cli/arguments.h"

#include <algorithm>

#include "cli/command.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

const OptionSpec* findSpec(std::span<const OptionSpec> specs, std::string_view word) {
  const auto match = std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& spec) {
    return word == spec.name || (!spec.shortName.empty() && word == spec.shortName);
  });
  return match == specs.end() ? nullptr : &*match;
}

}  // namespace

bool ParsedArguments::has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(), [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> ParsedArguments::last(std::string_view name) const {
  for (auto it = options.rbegin(); it != options.rend(); ++it) {
    if (it->first == name) return it->second;
  }
  return std::nullopt;
}

std::vector<std::string> ParsedArguments::all(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [option, value] : options) {
    if (option == name) values.push_back(value);
  }
  return values;
}

ParsedArguments parseArguments(std::span<const OptionSpec> specs, const std::vector<std::string>& args) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      parsed.operands.insert(parsed.operands.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string word = arg.substr(0, equals);
    const OptionSpec* spec = findSpec(specs, word);
    if (spec == nullptr) throw UsageError("unknown option " + word);
    std::string value;
    if (!spec->valueName.empty()) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        throw UsageError(std::string(spec->name) + " needs a value (" + std::string(spec->valueName) + ")");
      }
    } else if (equals != std::string::npos) {
      throw UsageError(std::string(spec->name) + " takes no value");
    }
    parsed.options.emplace_back(std::string(spec->name), std::move(value));
  }
  return parsed;
}

bool asksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int parseNumberOption(std::string_view option, const std::string& text, int low, int high) {
  const auto value = platform::parseInteger(text);
  if (!value || *value < low || *value > high) {
    throw UsageError(std::string(option) + " takes a number from " + std::to_string(low) + " to " +
                     std::to_string(high));
  }
  return static_cast<int>(*value);
}

}  // namespace vistrel::cli
