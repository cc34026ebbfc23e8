#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace onefortwo {

// Environment changes for a child: each name set to its value; an empty value unsets it.
using Environment = std::map<std::string, std::string>;

// A program run as a child process, its standard output and error into a file. Stop and
// the destructor end it (SIGTERM, then SIGKILL if it has not gone within 2 s) and reap it,
// so a failing test leaves no server behind; a test that crashes takes its children with
// it (they get SIGTERM when it dies).
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` (found on PATH) with `args`; what it writes goes to `output_path`.
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const Environment& environment, const std::string& output_path);
  bool Running();
  // Its exit status once it has ended within `timeout_ms`; -1 if it runs on or ended by a
  // signal.
  int Wait(int timeout_ms);
  void Stop();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// What a short-lived command printed (standard output and error together) and its exit
// status; -1 when it did not end within the time-out (it is then killed).
struct CommandResult {
  int status = -1;
  std::string output;
};
CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment, int timeout_ms);

// A port on 127.0.0.1 that nothing listens on now (the kernel's choice for port 0);
// SOCK_DGRAM or SOCK_STREAM.
int FreeLoopbackPort(int type);

}  // namespace onefortwo
