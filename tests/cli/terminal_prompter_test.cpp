#include <gtest/gtest.h>

#include <cstdio>

#include "cli/terminal_prompter.h"

namespace vistrel::cli {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

// Answers a question from the given input and returns the answer and what was printed.
std::pair<Answer, std::string> askWith(AnswerMode mode, std::string input, Buttons buttons, bool interactive = true) {
  std::FILE* in = fmemopen(input.data(), input.size(), "r");
  char* printed = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&printed, &size);
  TerminalPrompter prompter(mode, in, out, interactive);
  const Answer answer = prompter.ask("/web/a.jpg already exists.\rDo you want to replace it?", "Confirm",
                                     buttons, Icon::Question);
  std::fclose(in);
  std::fclose(out);
  std::string text(printed, size);
  std::free(printed);
  return {answer, text};
}

TEST(TerminalPrompter, AsksUntilItGetsAnAnswerItKnows) {
  const auto [answer, text] = askWith(AnswerMode::Ask, "maybe\nA\n", Buttons::YesNoAll);
  EXPECT_EQ(answer, Answer::All);
  EXPECT_NE(text.find("Confirm: /web/a.jpg already exists.\nDo you want to replace it?\n[y]es [n]o [a]ll ?"),
            std::string::npos);
  // Nobody to answer: the cautious answer, and the user is told.
  const auto [unattended, note] = askWith(AnswerMode::Ask, "y\n", Buttons::YesNoAll, false);
  EXPECT_EQ(unattended, Answer::No);
  EXPECT_NE(note.find("taking No"), std::string::npos);
  EXPECT_EQ(askWith(AnswerMode::Ask, "y\n", Buttons::YesNoAll).first, Answer::Yes);
  // End of input changes nothing.
  EXPECT_EQ(askWith(AnswerMode::Ask, "", Buttons::YesNoAll).first, Answer::No);
  EXPECT_EQ(askWith(AnswerMode::Ask, "", Buttons::OkCancel).first, Answer::Cancel);
  EXPECT_EQ(askWith(AnswerMode::Ask, "k\n", Buttons::YesNoToAll).first, Answer::NoToAll);
}

TEST(TerminalPrompter, CommandLineAnswersNeedNoInput) {
  const auto [all, said] = askWith(AnswerMode::Yes, "", Buttons::YesNoAll);
  EXPECT_EQ(all, Answer::All);
  EXPECT_NE(said.find("(answered All from the command line)"), std::string::npos) << said;
  EXPECT_EQ(askWith(AnswerMode::No, "y\n", Buttons::YesNoAll).first, Answer::No);
  EXPECT_EQ(askWith(AnswerMode::Yes, "", Buttons::YesNo).first, Answer::Yes);
  EXPECT_EQ(askWith(AnswerMode::Yes, "", Buttons::OkCancel).first, Answer::Ok);
}

TEST(TerminalPrompter, TerminalTextTurnsEveryBreakIntoOneLineFeed) {
  EXPECT_EQ(terminalText("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

}  // namespace
}  // namespace vistrel::cli
