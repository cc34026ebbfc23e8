#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "amp_panel.h"
#include "journal/journal_recorder.h"
#include "journal/wall_clock.h"
#include "journal_windows/journal_window.h"
#include "journal_windows/trends_window.h"
#include "main_window.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/sound.h"
#include "qt_prompter.h"
#include "qt_station_windows.h"
#include "shell/link_status.h"
#include "shell/main_timer.h"
#include "shell/station.h"
#include "status_bar_display.h"
#include "user/operator_commands.h"

namespace onefortwo {

// Calls a function after each move or resize of the windows it watches.
class FrameWatch : public QObject {
 public:
  explicit FrameWatch(std::function<void()> changed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> changed_;
};

// Calls a function after each event of the port: opened, refused, closed, lost, restored.
class PortWatch : public StationEvents {
 public:
  explicit PortWatch(std::function<void()> changed) : changed_(std::move(changed)) {}
  void PortOpened(const PortEvent&) override { changed_(); }
  void PortRefused(const PortEvent&) override { changed_(); }
  void PortClosed(const PortEvent&) override { changed_(); }
  void PortLost(const PortEvent&) override { changed_(); }
  void PortRestored(const PortEvent&) override { changed_(); }

 private:
  std::function<void()> changed_;
};

// The running station: its windows, the station itself and the 56 ms timer, put together
// and started in the order the station needs. Needs a QApplication.
class StationApplication {
 public:
  // `opener`, `clock` and `sound` outlive the application. The operator's Yes/No questions
  // come in message boxes owned by the main window.
  StationApplication(SerialPortOpener& opener, Clock& clock, Sound& sound);
  // The same with the questions put to `prompter`, which outlives the application (tests
  // answer them from a script).
  StationApplication(SerialPortOpener& opener, Clock& clock, Sound& sound, Prompter& prompter);
  ~StationApplication();

  // Start-up in `working_directory` (where sdefault.txt is): starts the journal there
  // ("journal.sqlite"; one that cannot open says so in the status bar and is tried again
  // later), reads the settings and opens
  // the port, resets the amplifier records, creates the main window at the size of the
  // screen's available area, runs the serial configuration dialog when the port did not
  // open, shows the main window, stacks the three panels in a column at the left, places
  // the main window beside them, hands the panels' presses and the diagram's clicks to the
  // operator's commands and starts the timer.
  void Start(const std::string& working_directory);

  // Starts in the present working directory and runs until the operator confirms the exit;
  // then destroys the open fault dialogs. Returns the program's exit code, 0.
  int Run();

  Station& station() { return station_; }
  QtStationWindows& windows() { return windows_; }
  MainWindow& main_window() { return *main_window_; }
  AmpPanel& panel(int amp) { return *panels_[amp]; }
  MainTimer& main_timer() { return main_timer_; }
  QTimer& timer() { return timer_; }
  // The main window's status bar, where the link and the features say how they are.
  StatusBarDisplay& status_display() { return status_display_; }
  const LinkStatus& link_status() const { return link_status_; }
  // The journal, "journal.sqlite" in the working directory; null before Start.
  JournalRecorder* journal() { return journal_.get(); }
  // View, Journal and View, Trends: the window, made on first use and raised after.
  JournalWindow& ShowJournal();
  TrendsWindow& ShowTrends();

 private:
  // How long after the start the windows are laid out again when their frames change.
  static constexpr int kPlacementMs = 3000;

  // Stacks panels B and C under panel A and puts the main window beside them, from the
  // frames the windows have now.
  void PlaceWindows();
  // The title and the diagram's marks follow the port: "SIM" while it is simulated.
  void FollowPort();

  QtStationWindows windows_;
  Station station_;
  StatusBarDisplay status_display_;
  SystemWallClock wall_clock_;
  // Told every event from before StartStation on; ends (writing what waits) before the
  // status display goes.
  std::unique_ptr<JournalRecorder> journal_;
  LinkStatus link_status_{status_display_};
  PortWatch port_watch_{[this] { FollowPort(); }};
  QtPrompter qt_prompter_;
  Prompter& prompter_;
  OperatorCommands commands_;
  MainTimer main_timer_;
  QTimer timer_;
  std::unique_ptr<MainWindow> main_window_;
  JournalWindow* journal_window_ = nullptr;  // owned by the main window
  TrendsWindow* trends_window_ = nullptr;    // owned by the main window
  std::array<AmpPanel*, kAmpCount> panels_ = {};  // owned by the main window
  QRect screen_;                                  // the screen's available area at the start
  QElapsedTimer started_;
  std::unique_ptr<FrameWatch> frame_watch_;
  QRect placed_popup_;  // panel A's frame and the main window's decoration when last placed
  QSize placed_decoration_;
};

}  // namespace onefortwo
