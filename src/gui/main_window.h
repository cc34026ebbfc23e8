#pragma once

#include <QMainWindow>

#include "diagram_view.h"
#include "platform/prompter.h"
#include "shell/station.h"

namespace onefortwo {

// The main window "Varek 1:2 System": the diagram in its client area, the File, View and
// Version menus, the aspect rule on resizing, and the exit, which only a confirmed
// File, Exit (or closing the window, which asks the same) performs.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `prompter` asks the exit question; it outlives the window.
  MainWindow(Station& station, Prompter& prompter, QWidget* parent = nullptr);

  DiagramView* diagram() const { return diagram_; }

  // Gives the window the outer rectangle `frame` (screen pixels, frame included as far as
  // the window system has told its size).
  void PlaceFrame(const QRect& frame);

  // File, Configure Serial Port: the modal serial configuration dialog.
  void ConfigureSerialPort();
  // File, Exit: asks "Exit 1:2 M&C?"; on Yes closes the port and emits exitConfirmed.
  void Exit();

 signals:
  // The operator confirmed the exit and the port is closed: the program ends now.
  void exitConfirmed();
  // View, Journal and View, Trends.
  void journalRequested();
  void trendsRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Brings a restored window's client back near 260:190 after a resize, or says
  // "MoveWindow failed" when the window would not take the size asked for.
  void KeepAspect();

  Station& station_;
  Prompter& prompter_;
  DiagramView* diagram_;
  bool aspect_check_posted_ = false;
  bool keeping_aspect_ = false;
};

}  // namespace onefortwo
