#include "sim_server.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "posix_serial_device.h"
#include "sim/frame_log.h"
#include "sim/sim_console.h"
#include "sim/sim_installation.h"

namespace onefortwo {
namespace {

// A command line longer than this is refused whole.
constexpr size_t kMaxCommandLine = 4096;
// The loop wakes at least this often (ms) even with nothing to do.
constexpr int kIdleWaitMs = 1000;

double NowMs() {
  using Ms = std::chrono::duration<double, std::milli>;
  return Ms(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "onefortwo-sim: %s\n", what.c_str());
}

// The open line: the descriptor we serve on, and for a pseudo-terminal the slave we keep
// open ourselves, so that the pair lives on while no station has it open.
struct Line {
  int fd = -1;
  int keep_slave = -1;
  std::string path;
  ~Line() {
    if (keep_slave >= 0) ::close(keep_slave);
    if (fd >= 0) ::close(fd);
  }
};

bool OpenPseudoTerminal(Line* line) {
  line->fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (line->fd < 0 || ::grantpt(line->fd) != 0 || ::unlockpt(line->fd) != 0) {
    Fail(std::string("cannot make a pseudo-terminal: ") + std::strerror(errno));
    return false;
  }
  const char* name = ::ptsname(line->fd);
  if (name == nullptr) {
    Fail(std::string("cannot name the pseudo-terminal: ") + std::strerror(errno));
    return false;
  }
  line->path = name;
  line->keep_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  struct termios raw;
  if (line->keep_slave < 0 || ::tcgetattr(line->keep_slave, &raw) != 0) {
    Fail("cannot open " + line->path + ": " + std::strerror(errno));
    return false;
  }
  // Raw until the station sets its own settings: no echo, no line editing.
  ::cfmakeraw(&raw);
  ::tcsetattr(line->keep_slave, TCSANOW, &raw);
  ::fcntl(line->fd, F_SETFL, ::fcntl(line->fd, F_GETFL) | O_NONBLOCK);
  return true;
}

bool OpenDevice(const ToolOptions& options, Line* line) {
  line->path = options.device;
  line->fd = ::open(options.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (line->fd < 0) {
    Fail("cannot open " + options.device + ": " + std::strerror(errno));
    return false;
  }
  struct termios tio;
  if (::tcgetattr(line->fd, &tio) != 0) {
    Fail(options.device + " is not a serial device");
    return false;
  }
  // ApplyLineSettings sets the rate only where it has a Bnnn constant; a rate still B0
  // afterwards goes through termios2.
  ::cfsetospeed(&tio, B0);
  ::cfsetispeed(&tio, B0);
  bool applied = ApplyLineSettings(&tio, options.line);
  const bool custom = ::cfgetospeed(&tio) == B0;
  applied = applied && ::tcsetattr(line->fd, TCSANOW, &tio) == 0;
  applied = applied && (!custom || SetCustomBaud(line->fd, options.line.baud));
  if (!applied) {
    Fail(options.device + " does not take " + std::to_string(options.line.baud) + " baud");
    return false;
  }
  ::tcflush(line->fd, TCIOFLUSH);
  return true;
}

// Writes what is due to the line. Bytes the line cannot take now are lost, as on a line
// with no listener.
void WriteDue(SimInstallation& installation, int fd, double now) {
  uint8_t out[512];
  for (;;) {
    const size_t due = installation.TakeReady(now, out, sizeof out);
    if (due == 0) return;
    size_t done = 0;
    while (done < due) {
      const ssize_t put = ::write(fd, out + done, due - done);
      if (put > 0) {
        done += static_cast<size_t>(put);
      } else if (put < 0 && errno == EINTR) {
        continue;
      } else {
        break;
      }
    }
  }
}

// Collects standard input into lines and carries them out.
class CommandInput {
 public:
  explicit CommandInput(SimConsole& console) : console_(console) {}

  // Reads what standard input holds; false at its end (or on an error).
  bool ReadAvailable() {
    char buffer[1024];
    ssize_t got;
    do {
      got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
      if (!pending_.empty() && !discarding_) Run(pending_);
      pending_.clear();
      return false;
    }
    for (ssize_t i = 0; i < got && !console_.quit; ++i) Take(buffer[i]);
    return true;
  }

 private:
  void Take(char c) {
    if (c == '\n') {
      if (!discarding_) Run(pending_);
      discarding_ = false;
      pending_.clear();
    } else if (!discarding_) {
      if (pending_.size() >= kMaxCommandLine) {
        Answer("error: the line is longer than " + std::to_string(kMaxCommandLine) + " characters");
        discarding_ = true;
        pending_.clear();
      } else {
        pending_ += c;
      }
    }
  }

  void Run(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    Answer(console_.Execute(text));
  }

  static void Answer(const std::string& answer) {
    if (answer.empty()) return;
    std::fputs(answer.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }

  SimConsole& console_;
  std::string pending_;
  bool discarding_ = false;  // in a line that was too long, until its end
};

}  // namespace

int RunSimServer(const ToolOptions& options) {
  ::signal(SIGPIPE, SIG_IGN);  // a closed standard output must not end the service
  Line line;
  if (!(options.device.empty() ? OpenPseudoTerminal(&line) : OpenDevice(options, &line))) {
    return 1;
  }

  SimInstallation installation(options.sim);
  installation.ConfigureLine(options.line);
  SimConsole console(installation);
  console.log_frames = options.log_frames;
  const double start_ms = NowMs();
  installation.set_observer([&console, start_ms](const LineEvent& event) {
    if (!console.log_frames) return;
    LineEvent since_start = event;  // the log counts ms from the tool's start
    since_start.at_ms -= start_ms;
    std::fprintf(stderr, "%s\n", FrameLogLine(since_start).c_str());
  });
  CommandInput input(console);

  std::printf("%s\n", line.path.c_str());
  std::fflush(stdout);

  bool commands_open = true;
  while (!console.quit) {
    double now = NowMs();
    WriteDue(installation, line.fd, now);

    int wait_ms = kIdleWaitMs;
    const double next = installation.NextByteAt();
    if (std::isfinite(next)) {
      wait_ms = static_cast<int>(std::ceil(std::max(0.0, next - NowMs())));
      if (wait_ms > kIdleWaitMs) wait_ms = kIdleWaitMs;
    }
    struct pollfd ready[2] = {{line.fd, POLLIN, 0}, {commands_open ? STDIN_FILENO : -1, POLLIN, 0}};
    const int events = ::poll(ready, 2, wait_ms);
    if (events < 0) {
      if (errno == EINTR) continue;
      Fail(std::string("cannot wait for the line: ") + std::strerror(errno));
      return 1;
    }
    now = NowMs();
    installation.AdvanceTo(now);
    if (ready[0].revents & POLLIN) {
      uint8_t buffer[512];
      const ssize_t got = ::read(line.fd, buffer, sizeof buffer);
      for (ssize_t i = 0; i < got; ++i) installation.Receive(buffer[i], now);
      installation.AdvanceTo(now);
    } else if (ready[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      Fail("the line " + line.path + " has gone");
      return 1;
    }
    if (ready[1].revents & (POLLIN | POLLHUP | POLLERR)) commands_open = input.ReadAvailable();
  }
  return 0;
}

}  // namespace onefortwo
