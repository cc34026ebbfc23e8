#include "tool_process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace onefortwo {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void CloseFd(int* fd) {
  if (*fd >= 0) ::close(*fd);
  *fd = -1;
}

// Reads what `fd` holds within the time left into `text`; false at its end or time-out.
bool ReadSome(int fd, Clock::time_point until, std::string* text) {
  if (fd < 0) return false;
  struct pollfd ready = {fd, POLLIN, 0};
  if (::poll(&ready, 1, MsLeft(until)) <= 0) return false;
  char buffer[4096];
  const ssize_t got = ::read(fd, buffer, sizeof buffer);
  if (got <= 0) return false;
  text->append(buffer, static_cast<size_t>(got));
  return true;
}

}  // namespace

ToolProcess::~ToolProcess() {
  Stop();
  CloseFd(&out_);
  CloseFd(&err_);
}

bool ToolProcess::Start(const std::vector<std::string>& args, bool capture_stderr) {
  Stop();  // a process started before is ended, and its pipes let go
  CloseFd(&out_);
  CloseFd(&err_);
  out_buffer_.clear();
  int in[2], out[2], err[2] = {-1, -1};
  if (::pipe2(in, O_CLOEXEC) != 0) return false;
  if (::pipe2(out, O_CLOEXEC) != 0) return false;
  if (capture_stderr && ::pipe2(err, O_CLOEXEC) != 0) return false;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  if (capture_stderr) posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);

  std::vector<std::string> all = {ONEFORTWO_SIM_TOOL};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int spawned =
      ::posix_spawn(&pid_, ONEFORTWO_SIM_TOOL, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);

  ::close(in[0]);
  ::close(out[1]);
  if (capture_stderr) ::close(err[1]);
  in_ = in[1];
  out_ = out[0];
  err_ = err[0];
  if (spawned != 0) {
    pid_ = -1;
    return false;
  }
  return true;
}

bool ToolProcess::ReadLine(std::string* line, int timeout_ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const size_t end = out_buffer_.find('\n');
    if (end != std::string::npos) {
      *line = out_buffer_.substr(0, end);
      out_buffer_.erase(0, end + 1);
      return true;
    }
    if (!ReadSome(out_, until, &out_buffer_)) return false;
  }
}

bool ToolProcess::WriteLine(const std::string& line) {
  if (in_ < 0) return false;
  const std::string text = line + "\n";
  return ::write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

void ToolProcess::CloseInput() {
  CloseFd(&in_);
}

int ToolProcess::Wait(int timeout_ms) {
  if (pid_ < 0) return -1;
  const auto until = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (done < 0 || MsLeft(until) == 0) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string ToolProcess::ReadStderr(int timeout_ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::string text;
  while (ReadSome(err_, until, &text)) {
  }
  return text;
}

std::string ToolProcess::ReadRemainingOutput(int timeout_ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (ReadSome(out_, until, &out_buffer_)) {
  }
  std::string text;
  text.swap(out_buffer_);
  return text;
}

void ToolProcess::Stop() {
  CloseInput();
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    if (Wait(2000) == -1 && pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
}

void ToolProcess::Kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace onefortwo
