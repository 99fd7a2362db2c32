#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vistrel::test
