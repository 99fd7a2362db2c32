#include <gtest/gtest.h>

#include "cli/arguments.h"
#include "cli/command.h"
#include "run_program.h"

namespace vistrel::test {
namespace {

TEST(Program, HelpAndVersionNeedNoDisplay) {
  const auto help = runVistrel({"--help"});
  EXPECT_EQ(help.status, 0) << help.err;
  EXPECT_NE(help.out.find("usage: vistrel"), std::string::npos);
  const auto version = runVistrel({"--version"});
  EXPECT_EQ(version.status, 0) << version.err;
  EXPECT_EQ(version.out.rfind("Vistrel 3.12", 0), 0u) << version.out;
}

TEST(Program, UnknownCommandsAndOptionsAreUsageErrors) {
  for (const char* word : {"frobnicate", "--frobnicate"}) {
    const auto result = runVistrel({word});
    EXPECT_EQ(result.status, 2) << word;
    EXPECT_NE(result.err.find("unknown command or option"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("usage: vistrel"), std::string::npos);
  }
}

TEST(Program, EveryCommandExplainsItselfWithAnExample) {
  for (const cli::CommandInfo& info : cli::commands()) {
    const auto help = runVistrel({info.name, "--help"});
    EXPECT_EQ(help.status, 0) << info.name << help.err;
    EXPECT_EQ(help.out.rfind(std::string("usage: vistrel ") + info.name, 0), 0u) << help.out;
    for (const char* part : {"Options:", "--help", "Exit status:", "Example:\n  # "}) {
      EXPECT_NE(help.out.find(part), std::string::npos) << info.name << " lacks " << part;
    }
    for (const cli::OptionSpec& option : info.options) {
      EXPECT_NE(help.out.find(option.name), std::string::npos) << info.name << " " << option.name;
    }
    EXPECT_EQ(runVistrel({"help", info.name}).out, help.out);
  }
}

TEST(Program, UsageErrorsPointToTheCommandsHelp) {
  const auto mistake = runVistrel({"gallery", "--frobnicate"});
  EXPECT_EQ(mistake.status, 2);
  EXPECT_NE(mistake.err.find("Try 'vistrel gallery --help'"), std::string::npos) << mistake.err;
  EXPECT_EQ(runVistrel({"help", "frobnicate"}).status, 2);
}

TEST(Program, GalleryListsTheKeysSetTakes) {
  const auto keys = runVistrel({"gallery", "--list-keys"});
  EXPECT_EQ(keys.status, 0) << keys.err;
  EXPECT_NE(keys.out.find("General.Cols (number 1..999, default \"3\")\n    Thumbnails per row"), std::string::npos)
      << keys.out;
  EXPECT_NE(keys.out.find("HTML head.FooterText (multi-line text"), std::string::npos);
  EXPECT_NE(keys.out.find("LinkText.BothNav (1 or 0, default \"1\")"), std::string::npos);
}

TEST(Arguments, OptionsKeepTheirOrderAndOperandsTheirPlace) {
  constexpr cli::OptionSpec specs[] = {{"--set", "K=V", ""}, {"--quiet", "", "", "-q"}};
  const auto parsed = cli::parseArguments(specs, {"a", "--set", "x=1", "-q", "--set=y=2", "-", "--", "--set"});
  EXPECT_EQ(parsed.options, (std::vector<std::pair<std::string, std::string>>{
                                {"--set", "x=1"}, {"--quiet", ""}, {"--set", "y=2"}}));
  EXPECT_EQ(parsed.operands, (std::vector<std::string>{"a", "-", "--set"}));
  EXPECT_EQ(parsed.last("--set"), "y=2");
  EXPECT_THROW(cli::parseArguments(specs, {"--quiet=1"}), cli::UsageError);
  EXPECT_THROW(cli::parseArguments(specs, {"--set"}), cli::UsageError);
  EXPECT_THROW(cli::parseArguments(specs, {"--sett"}), cli::UsageError);
}

}  // namespace
}  // namespace vistrel::test
