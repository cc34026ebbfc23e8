#pragma once

namespace onefortwo {

// Asks the operator a Yes/No question in a modal box. The poll timer keeps ticking while
// the box is open, so the station's state may change before the answer comes.
class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows `prompt` in a box captioned `caption` (normally "Confirm"); true for Yes.
  virtual bool AskYesNo(const char* prompt, const char* caption) = 0;
  // Shows `text` in a box with an OK button, owned like the questions, and returns when
  // the operator has read it.
  virtual void Tell(const char* text, const char* caption) = 0;
};

}  // namespace onefortwo
