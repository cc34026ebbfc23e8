#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace onefortwo {

// Answers Yes/No questions from a script. Each question is recorded as "caption: prompt";
// a question with no answer left fails the test and is answered No. `while_open` runs
// while a box is up, before its answer, standing for the poll ticks the modal box serves.
class ScriptedPrompter : public Prompter {
 public:
  bool AskYesNo(const char* prompt, const char* caption) override;
  // Recorded as "told caption: text"; needs no answer.
  void Tell(const char* text, const char* caption) override;

  // The questions asked since the last call, and forgets them.
  std::vector<std::string> Take();

  std::deque<bool> answers;
  std::vector<std::string> asked;
  std::function<void()> while_open;
};

}  // namespace onefortwo
