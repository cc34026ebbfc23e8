#include "qt_prompter.h"

#include <QMessageBox>

#include "window_hold.h"

namespace onefortwo {

bool QtPrompter::AskYesNo(const char* prompt, const char* caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, prompt, QMessageBox::Yes | QMessageBox::No, owner_);
  // Shown as written: "Exit 1:2 M&C?" keeps its ampersand.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  // Modal to the window that asked: the other windows stay usable, so that a ringing fault
  // dialog can be acknowledged while a question is open.
  return RunOwned(box, owner_) == QMessageBox::Yes;
}

}  // namespace onefortwo

namespace onefortwo {

void QtPrompter::Tell(const char* text, const char* caption) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  RunOwned(box, owner_);
}

}  // namespace onefortwo
