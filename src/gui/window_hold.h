#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace onefortwo {

// Keeps the operator's input from one window while dialogs it opened are up: the dialogs
// are modal to that window alone, as an owner window is held, so every other window of
// the station (the other panels, a ringing fault dialog, the main window) stays usable,
// and the held window goes on showing what the station puts into it.
class WindowHold : public QObject {
 public:
  explicit WindowHold(QWidget* window);
  ~WindowHold() override;

  // Holds the window until `dialog` is closed or, failing that, destroyed.
  void HoldFor(QDialog* dialog);
  bool held() const { return holds_ > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  int holds_ = 0;
};

// Runs `dialog` (a question or a message box whose parent is `owner`) modal to `owner`'s
// window alone and returns its result once the operator has answered; the poll timer and
// every other window go on meanwhile. Without an owner it is modal to the whole station.
int RunOwned(QDialog& dialog, QWidget* owner);

}  // namespace onefortwo
