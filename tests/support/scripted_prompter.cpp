#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace onefortwo {

bool ScriptedPrompter::AskYesNo(const char* prompt, const char* caption) {
  asked.push_back(std::string(caption) + ": " + prompt);
  if (while_open) while_open();
  if (answers.empty()) {
    ADD_FAILURE() << "no answer scripted for \"" << prompt << "\"";
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedPrompter::Tell(const char* text, const char* caption) {
  asked.push_back(std::string("told ") + caption + ": " + text);
}

std::vector<std::string> ScriptedPrompter::Take() {
  std::vector<std::string> taken;
  taken.swap(asked);
  return taken;
}

}  // namespace onefortwo
