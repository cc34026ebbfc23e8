#include "main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>

#include "icons.h"
#include "serial_config_window.h"
#include "serial_devices.h"
#include "shell/window_ratio.h"
#include "shell/station_lifecycle.h"

namespace onefortwo {

MainWindow::MainWindow(Station& station, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), station_(station), prompter_(prompter), diagram_(new DiagramView) {
  setWindowTitle("Varek 1:2 System");
  setWindowIcon(StationIcon());
  setCentralWidget(diagram_);
  diagram_->installEventFilter(this);

  QMenu* file = menuBar()->addMenu("&File");
  connect(file->addAction("&Configure Serial Port"), &QAction::triggered, this,
          &MainWindow::ConfigureSerialPort);
  connect(file->addAction("E&xit"), &QAction::triggered, this, &MainWindow::Exit);
  QMenu* view = menuBar()->addMenu("&View");
  connect(view->addAction("&Journal"), &QAction::triggered, this, &MainWindow::journalRequested);
  connect(view->addAction("&Trends"), &QAction::triggered, this, &MainWindow::trendsRequested);
  // The version is shown in the menu only; choosing it does nothing.
  menuBar()->addMenu("&Version")->addAction("v2, Sep 21, 2007");
}

void MainWindow::PlaceFrame(const QRect& frame) {
  const QSize decoration = frameGeometry().size() - size();
  move(frame.topLeft());
  resize(frame.size() - decoration);
}

void MainWindow::ConfigureSerialPort() {
  SerialConfigWindow dialog(station_.link, FindSerialDevices(), this);
  dialog.exec();
}

void MainWindow::Exit() {
  if (ConfirmExit(station_, prompter_)) emit exitConfirmed();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing the window is File, Exit: it asks, and only the exit ends the program.
  event->ignore();
  Exit();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The client area's size decides; the check runs once the window system has settled,
  // so that a maximise is seen as one before its resize is judged.
  if (watched == diagram_ && event->type() == QEvent::Resize && !aspect_check_posted_) {
    aspect_check_posted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          aspect_check_posted_ = false;
          KeepAspect();
        },
        Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::KeepAspect() {
  if (!isVisible() || keeping_aspect_) return;
  SizeKind kind = SizeKind::restored;
  if (windowState() & Qt::WindowMinimized) {
    kind = SizeKind::minimised;
  } else if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
    kind = SizeKind::maximised;
  }
  const QRect frame = frameGeometry();
  const std::optional<WindowSize> wanted =
      AspectCorrection(kind, diagram_->width(), diagram_->height(),
                       Rect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1});
  if (!wanted) return;

  // Qt sizes the window inside its frame; the frame keeps its size, and so does the
  // corner where it stands.
  const QSize decoration = frame.size() - size();
  const QSize asked = QSize(wanted->width, wanted->height) - decoration;
  const QSize before = size();
  keeping_aspect_ = true;
  // A size outside the window's minimum and maximum is not asked for; one the window
  // system does not give is taken back. Either way the size stays as it was.
  const bool allowed = asked.expandedTo(minimumSize()).boundedTo(maximumSize()) == asked;
  if (allowed) resize(asked);
  if (!allowed || size() != asked) {
    if (size() != before) resize(before);
    QMessageBox box(QMessageBox::Warning, "Yipes!", "MoveWindow failed", QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }
  keeping_aspect_ = false;
}

}  // namespace onefortwo
