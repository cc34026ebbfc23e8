#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace onefortwo {

// onefortwo-sim run as a child process, with pipes to its standard input and output
// (and, when asked, its standard error). Every wait has a deadline; Stop and the
// destructor end the process (SIGTERM to its pid, then SIGKILL if it does not go) and
// reap it.
class ToolProcess {
 public:
  ToolProcess() = default;
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Starts the tool built with the tests, with `args` after the program name (ending the
  // one started before, if any). Without `capture_stderr` the tool writes to the test's
  // standard error.
  bool Start(const std::vector<std::string>& args, bool capture_stderr);

  // The next line of standard output without its line end; false when none came within
  // `timeout_ms` or the output ended.
  bool ReadLine(std::string* line, int timeout_ms);
  bool WriteLine(const std::string& line);
  void CloseInput();

  // Waits for the process to end: its exit status, or -1 if it did not end in time
  // (it is then still running) or ended by a signal.
  int Wait(int timeout_ms);
  // Everything on standard error until it closes or `timeout_ms` pass.
  std::string ReadStderr(int timeout_ms);
  // Everything left on standard output until it closes or `timeout_ms` pass.
  std::string ReadRemainingOutput(int timeout_ms);
  // Ends the process if it runs, and reaps it. What it wrote can still be read.
  void Stop();
  // Kills the process at once (SIGKILL: no clean-up of its own) and reaps it.
  void Kill();

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string out_buffer_;
};

}  // namespace onefortwo
