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

}  // namespace onefortwo
