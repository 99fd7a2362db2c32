#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace vistrel::test {

ScriptedPrompter::~ScriptedPrompter() {
  EXPECT_TRUE(questions_.empty()) << questions_.size() << " scripted answer(s) were never asked for, first: \""
                                  << (questions_.empty() ? "" : questions_.front().textPart) << "\"";
  EXPECT_TRUE(inputs_.empty()) << inputs_.size() << " scripted input(s) were never asked for";
}

void ScriptedPrompter::expect(std::string textPart, platform::Answer answer) {
  questions_.push_back({std::move(textPart), answer});
}

void ScriptedPrompter::expectInput(std::optional<std::string> reply) { inputs_.push_back(std::move(reply)); }

platform::Answer ScriptedPrompter::ask(const std::string& text, const std::string& caption,
                                       platform::Buttons, platform::Icon) {
  asked_.push_back(text);
  if (questions_.empty()) {
    ADD_FAILURE() << "Unexpected question \"" << caption << "\": " << text;
    return platform::Answer::Cancel;
  }
  const Expected next = questions_.front();
  questions_.pop_front();
  EXPECT_NE(text.find(next.textPart), std::string::npos)
      << "Asked \"" << text << "\" where the script expected \"" << next.textPart << "\"";
  return next.answer;
}

void ScriptedPrompter::show(const std::string& text, const std::string& caption, platform::Icon icon) {
  shown_.push_back({caption, text, icon});
}

std::optional<std::string> ScriptedPrompter::input(const std::string& caption, const std::string& prompt,
                                                   const std::string&) {
  if (inputs_.empty()) {
    ADD_FAILURE() << "Unexpected input box \"" << caption << "\": " << prompt;
    return std::nullopt;
  }
  auto reply = inputs_.front();
  inputs_.pop_front();
  return reply;
}

}  // namespace vistrel::test
