#include "sim_server.h"

#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
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

// The TCP service of a terminal server: the listening socket and the one station
// connection it serves (-1 while none is connected).
struct TcpService {
  int listener = -1;
  int connection = -1;
  std::string peer;  // the connected station's address, for the notes on standard error
  ~TcpService() {
    if (connection >= 0) ::close(connection);
    if (listener >= 0) ::close(listener);
  }
};

// "127.0.0.1:4001", "[::1]:4001".
std::string AddressText(const struct sockaddr* address, socklen_t length) {
  char host[NI_MAXHOST];
  char port[NI_MAXSERV];
  if (::getnameinfo(address, length, host, sizeof host, port, sizeof port,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return "?";
  }
  const std::string h = host;
  return (h.find(':') != std::string::npos ? "[" + h + "]" : h) + ":" + port;
}

// Listens on options.tcp_host:tcp_port; `*name` is the port name the station opens,
// "tcp:127.0.0.1:40123" (the port the system picked for port 0).
bool Listen(const ToolOptions& options, TcpService* service, std::string* name) {
  const std::string where = options.tcp_host + ":" + std::to_string(options.tcp_port);
  struct addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  struct addrinfo* found = nullptr;
  const int lookup = ::getaddrinfo(options.tcp_host.c_str(),
                                   std::to_string(options.tcp_port).c_str(), &hints, &found);
  if (lookup != 0) {
    Fail("cannot listen on " + where + ": " + ::gai_strerror(lookup));
    return false;
  }
  service->listener =
      ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  // A sim started again on the same port must not wait for the last connection's
  // TIME_WAIT to end.
  if (service->listener >= 0) {
    ::setsockopt(service->listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  }
  const bool listening = service->listener >= 0 &&
                         ::bind(service->listener, found->ai_addr, found->ai_addrlen) == 0 &&
                         ::listen(service->listener, 4) == 0;
  ::freeaddrinfo(found);
  struct sockaddr_storage bound = {};
  socklen_t length = sizeof bound;
  if (!listening ||
      ::getsockname(service->listener, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    Fail("cannot listen on " + where + ": " + std::strerror(errno));
    return false;
  }
  *name = "tcp:" + AddressText(reinterpret_cast<sockaddr*>(&bound), length);
  return true;
}

// Takes a station's connection. While one is served, another is closed at once, as a
// terminal server with one connection per port does.
void AcceptStation(TcpService* service) {
  struct sockaddr_storage from = {};
  socklen_t length = sizeof from;
  const int fd = ::accept4(service->listener, reinterpret_cast<sockaddr*>(&from), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  const std::string peer = AddressText(reinterpret_cast<sockaddr*>(&from), length);
  if (service->connection >= 0) {
    ::close(fd);
    std::fprintf(stderr, "onefortwo-sim: closed the connection from %s: %s is being served\n",
                 peer.c_str(), service->peer.c_str());
    return;
  }
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // each byte at its time
  service->connection = fd;
  service->peer = peer;
  std::fprintf(stderr, "onefortwo-sim: station connected from %s\n", peer.c_str());
}

void DropStation(TcpService* service) {
  if (service->connection < 0) return;
  ::close(service->connection);
  service->connection = -1;
  std::fprintf(stderr, "onefortwo-sim: station %s disconnected; waiting for the next\n",
               service->peer.c_str());
}

// Writes what is due to the line (`fd` -1: no station connected). Bytes the line cannot
// take now are lost, as on a line with no listener.
void WriteDue(SimInstallation& installation, int fd, double now) {
  uint8_t out[512];
  for (;;) {
    const size_t due = installation.TakeReady(now, out, sizeof out);
    if (due == 0) return;
    if (fd < 0) continue;
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
  // Neither a closed standard output nor a station gone from its TCP connection may end
  // the service.
  ::signal(SIGPIPE, SIG_IGN);
  Line line;
  TcpService service;
  if (options.tcp) {
    if (!Listen(options, &service, &line.path)) return 1;
  } else if (!(options.device.empty() ? OpenPseudoTerminal(&line)
                                      : OpenDevice(options, &line))) {
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
    const int line_fd = options.tcp ? service.connection : line.fd;
    double now = NowMs();
    WriteDue(installation, line_fd, now);

    int wait_ms = kIdleWaitMs;
    const double next = installation.NextByteAt();
    if (std::isfinite(next)) {
      wait_ms = static_cast<int>(std::ceil(std::max(0.0, next - NowMs())));
      if (wait_ms > kIdleWaitMs) wait_ms = kIdleWaitMs;
    }
    struct pollfd ready[3] = {{line_fd, POLLIN, 0},
                              {commands_open ? STDIN_FILENO : -1, POLLIN, 0},
                              {service.listener, POLLIN, 0}};
    const int events = ::poll(ready, 3, wait_ms);
    if (events < 0) {
      if (errno == EINTR) continue;
      Fail(std::string("cannot wait for the line: ") + std::strerror(errno));
      return 1;
    }
    now = NowMs();
    installation.AdvanceTo(now);
    if (ready[0].revents & POLLIN) {
      uint8_t buffer[512];
      const ssize_t got = ::read(line_fd, buffer, sizeof buffer);
      for (ssize_t i = 0; i < got; ++i) installation.Receive(buffer[i], now);
      installation.AdvanceTo(now);
      // The station closed or reset its connection: wait for the next one.
      const bool gone = got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR);
      if (options.tcp && gone) DropStation(&service);
    } else if (ready[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      if (!options.tcp) {
        Fail("the line " + line.path + " has gone");
        return 1;
      }
      DropStation(&service);
    }
    if (ready[1].revents & (POLLIN | POLLHUP | POLLERR)) commands_open = input.ReadAvailable();
    if (ready[2].revents & POLLIN) AcceptStation(&service);
  }
  return 0;
}

}  // namespace onefortwo
