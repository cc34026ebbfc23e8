#include "station_application.h"

#include <QApplication>
#include <QScreen>
#include <filesystem>

#include "canvas/render_main_window.h"
#include "journal/desktop_user.h"
#include "shell/station_lifecycle.h"

namespace onefortwo {

StationApplication::StationApplication(SerialPortOpener& opener, Clock& clock, Sound& sound)
    : StationApplication(opener, clock, sound, qt_prompter_) {}

StationApplication::StationApplication(SerialPortOpener& opener, Clock& clock, Sound& sound,
                                       Prompter& prompter)
    : station_(opener, clock, windows_),
      prompter_(prompter),
      commands_(station_, prompter_, windows_, windows_),
      main_timer_(station_, windows_, sound) {
  windows_.SetStation(&station_);
  station_.events.Add(&link_status_);
  station_.events.Add(&port_watch_);
  timer_.setInterval(MainTimer::kIntervalMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { main_timer_.Tick(); });
}

StationApplication::~StationApplication() {
  timer_.stop();
  if (journal_) station_.events.Remove(journal_.get());
  journal_.reset();
  station_.events.Remove(&port_watch_);
  station_.events.Remove(&link_status_);
}

void StationApplication::FollowPort() {
  if (!main_window_) return;
  const bool simulated = station_.link.simulated();
  const QString title = QString::fromLatin1(MainWindowTitle(simulated));
  if (main_window_->windowTitle() != title) {
    main_window_->setWindowTitle(title);
    main_window_->diagram()->update();
  }
}

void StationApplication::Start(const std::string& working_directory) {
  JournalOptions journal;
  journal.path = working_directory;
  if (!journal.path.empty() && journal.path.back() != '/' && journal.path.back() != '\\')
    journal.path += '/';
  journal.path += "journal.sqlite";
  journal.user = DesktopUserName();
  journal_ = std::make_unique<JournalRecorder>(journal, wall_clock_, &status_display_);
  station_.events.Add(journal_.get());
  const bool port_open = StartStation(station_, working_directory);

  main_window_ = std::make_unique<MainWindow>(station_, prompter_);
  qt_prompter_.SetOwner(main_window_.get());
  status_display_.Attach(main_window_->statusBar());
  FollowPort();
  windows_.SetDiagram(main_window_->diagram());
  // Every paint draws the whole diagram from the present state and keeps its layout for
  // the mouse commands and the amplifier display refresh.
  main_window_->diagram()->SetPainter(
      [this](QPainter& painter, const QRect& client, const QRect& update) {
        RenderMainWindow(painter, client, update, station_.amps.amp_info, station_.controller,
                         station_.layout, station_.link.simulated());
      });
  main_window_->diagram()->SetClick([this](int x, int y) { commands_.MainWindowMouseClick(x, y); });
  QObject::connect(main_window_.get(), &MainWindow::journalRequested, [this] { ShowJournal(); });
  QObject::connect(main_window_.get(), &MainWindow::trendsRequested, [this] { ShowTrends(); });
  // The program ends only here: not when its last window closes.
  QObject::connect(main_window_.get(), &MainWindow::exitConfirmed,
                   [] { QCoreApplication::exit(0); });

  // The whole available area of the screen (without panels and task bars) to begin with.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  main_window_->PlaceFrame(screen);
  // Without a port there is nothing to poll: the operator picks one before the station
  // shows, and the timer is not running yet.
  if (!port_open) main_window_->ConfigureSerialPort();
  main_window_->show();

  // The panels stand in a column at the left, A at the top, B and C under it; the main
  // window takes the rest of the area's width beside them, at the area's full height.
  for (int amp = 0; amp < kAmpCount; ++amp) {
    panels_[amp] = new AmpPanel(amp, station_.amps.amp_info[amp], main_window_.get());
    // A panel's questions come in boxes owned by the panel, the diagram's by the main
    // window.
    panels_[amp]->SetCommand([this, amp](int control_id) {
      qt_prompter_.SetOwner(panels_[amp]);
      commands_.AmpPanelCommand(amp, control_id);
      qt_prompter_.SetOwner(main_window_.get());
    });
    windows_.SetPanel(amp, panels_[amp]);
  }
  screen_ = screen;
  panels_[0]->move(screen.topLeft());
  panels_[0]->show();
  PlaceWindows();
  for (int amp = 1; amp < kAmpCount; ++amp) panels_[amp]->show();
  // A window manager frames the windows a moment after they are shown, and only then are
  // their frames known; until the station has run a few seconds, the column is laid out
  // again whenever the frame of a panel or of the main window changes.
  started_.start();
  frame_watch_ = std::make_unique<FrameWatch>([this] {
    if (started_.elapsed() < kPlacementMs) PlaceWindows();
  });
  for (AmpPanel* panel : panels_) panel->installEventFilter(frame_watch_.get());
  main_window_->installEventFilter(frame_watch_.get());

  timer_.start();
}

JournalWindow& StationApplication::ShowJournal() {
  if (journal_window_ == nullptr)
    journal_window_ = new JournalWindow(journal_->path(), wall_clock_, main_window_.get());
  journal_window_->show();
  journal_window_->raise();
  journal_window_->activateWindow();
  return *journal_window_;
}

TrendsWindow& StationApplication::ShowTrends() {
  if (trends_window_ == nullptr)
    trends_window_ = new TrendsWindow(journal_->path(), wall_clock_, main_window_.get());
  trends_window_->show();
  trends_window_->raise();
  trends_window_->activateWindow();
  return *trends_window_;
}

void StationApplication::PlaceWindows() {
  const QRect popup = panels_[0]->frameGeometry();
  for (int amp = 1; amp < kAmpCount; ++amp) {
    const QPoint wanted(popup.x(), popup.y() + amp * popup.height());
    if (panels_[amp]->frameGeometry().topLeft() != wanted) panels_[amp]->move(wanted);
  }
  const QSize decoration = main_window_->frameGeometry().size() - main_window_->size();
  // Nothing new to place by: the main window's own resizing by the aspect rule ends here.
  if (popup == placed_popup_ && decoration == placed_decoration_) return;
  placed_popup_ = popup;
  placed_decoration_ = decoration;
  main_window_->PlaceFrame(QRect(popup.x() + popup.width(), popup.y(),
                                 screen_.width() - popup.width(), screen_.height()));
}

FrameWatch::FrameWatch(std::function<void()> changed) : changed_(std::move(changed)) {}

bool FrameWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
    // After the event, when the window's geometry has been taken in.
    QMetaObject::invokeMethod(this, changed_, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

int StationApplication::Run() {
  QApplication::setQuitOnLastWindowClosed(false);
  Start(std::filesystem::current_path().string());
  const int code = QApplication::exec();
  windows_.CloseFaultDialogs();
  return code;
}

}  // namespace onefortwo
