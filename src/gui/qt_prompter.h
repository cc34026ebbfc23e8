#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter.h"

namespace onefortwo {

// Yes/No questions in a modal message box owned by a window. The poll timer keeps ticking
// while the box is open.
class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  // Yes is the default button, as in the system's boxes.
  bool AskYesNo(const char* prompt, const char* caption) override;
  void Tell(const char* text, const char* caption) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace onefortwo
