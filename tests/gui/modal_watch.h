#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace onefortwo {

// Runs `handle` once on the first modal window of type T that becomes the active modal
// window, looking every 10 ms. The handler runs inside that window's own event loop, so it
// can read the window and end it (accept, click a button).
template <class T>
void WhenModal(std::function<void(T*)> handle) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, handle] {
    T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    handle(modal);
  });
  timer->start();
}

// Runs `handle` once on the first visible window of type T, looking every 10 ms: for
// windows that are not modal to the whole application, such as a dialog modal to its
// panel alone. The handler runs inside whatever event loop is running then.
template <class T>
void WhenShown(std::function<void(T*)> handle) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, handle] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      T* shown = qobject_cast<T*>(window);
      if (shown == nullptr || !shown->isVisible()) continue;
      timer->stop();
      timer->deleteLater();
      handle(shown);
      return;
    }
  });
  timer->start();
}

}  // namespace onefortwo
