#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "cli/bash_completion.h"
#include "cli/command.h"
#include "cli/escaped_output.h"
#include "cli/man_page.h"
#include "platform/text.h"
#include "platform/version.h"

namespace vistrel::cli {
namespace {

// A second start of the GUI may carry file or folder paths, which it hands to
// the running instance; anything else in first place must be a subcommand.
bool looksLikePath(std::string_view arg) {
  std::error_code ec;
  return arg.find('/') != std::string_view::npos || std::filesystem::exists(arg, ec);
}

int runCommand(const CommandInfo& info, int argc, char** argv) {
  const EscapedOutput escaped;
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (asksForHelp(args)) {
    std::cout << commandHelp(info);
    return 0;
  }
  try {
    return info.make(parseArguments(info.options, args))->run();
  } catch (const UsageError& e) {
    std::cerr << "vistrel " << info.name << ": " << e.what() << "\n"
              << "usage: vistrel " << info.synopsis << "\n"
              << "Try 'vistrel " << info.name << " --help' for more.\n";
    return 2;
  } catch (const std::exception& e) {
    // A message may name a file whose name is not UTF-8.
    std::cerr << "vistrel " << info.name << ": " << platform::textFromFile(e.what()) << "\n";
    return 1;
  }
}

int runHelp(int argc, char** argv) {
  if (argc < 3) {
    std::cout << usageText();
    return 0;
  }
  if (const CommandInfo* info = findCommand(argv[2])) {
    std::cout << commandHelp(*info);
    return 0;
  }
  std::cerr << "vistrel help: unknown command '" << platform::textFromFile(argv[2]) << "'\n" << usageText();
  return 2;
}

}  // namespace

const CommandInfo* findCommand(std::string_view name) {
  for (const CommandInfo& info : commands()) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::optional<int> runHeadless(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") {
    std::cout << usageText();
    return 0;
  }
  if (first == "help") return runHelp(argc, argv);
  if (first == "--version" || first == "-V") {
    std::cout << "Vistrel " << platform::versionText() << "\n";
    return 0;
  }
  // For the build, which installs what these print; not in the usage text.
  if (first == "--man-page" || first == "--bash-completion") {
    std::cout << (first == "--man-page" ? manPage() : bashCompletion());
    return 0;
  }
  if (const CommandInfo* info = findCommand(first)) return runCommand(*info, argc, argv);
  if (!first.starts_with('-') && looksLikePath(first)) return std::nullopt;
  std::cerr << "vistrel: unknown command or option '" << platform::textFromFile(first) << "'\n" << usageText();
  return 2;
}

}  // namespace vistrel::cli
