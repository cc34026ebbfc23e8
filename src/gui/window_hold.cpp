#include "window_hold.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <memory>

namespace onefortwo {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

WindowHold::WindowHold(QWidget* window) : window_(window) {}

WindowHold::~WindowHold() {
  if (holds_ > 0) qApp->removeEventFilter(this);
}

void WindowHold::HoldFor(QDialog* dialog) {
  if (dialog == nullptr) return;
  if (holds_++ == 0) qApp->installEventFilter(this);
  // Released once, when the dialog is closed or, failing that, destroyed.
  auto released = std::make_shared<bool>(false);
  const auto release = [this, released] {
    if (*released) return;
    *released = true;
    if (--holds_ == 0) qApp->removeEventFilter(this);
  };
  connect(dialog, &QDialog::finished, this, release);
  connect(dialog, &QObject::destroyed, this, release);
}

bool WindowHold::eventFilter(QObject* watched, QEvent* event) {
  // While held, the operator's input to the window and its controls goes nowhere, and so
  // does closing it; the dialogs it opened are windows of their own and take theirs.
  if (holds_ > 0 && window_ && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    const bool ours = widget == window_ || window_->isAncestorOf(widget);
    if (ours && IsInput(event->type())) return true;
    if (widget == window_ && event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

int RunOwned(QDialog& dialog, QWidget* owner) {
  if (owner == nullptr) return dialog.exec();
  WindowHold hold(owner->window());
  hold.HoldFor(&dialog);
  dialog.setWindowModality(Qt::NonModal);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  if (dialog.isVisible()) loop.exec();
  return dialog.result();
}

}  // namespace onefortwo
