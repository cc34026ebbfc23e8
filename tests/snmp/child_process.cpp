#include "child_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace onefortwo {
namespace {

std::vector<std::string> MergedEnvironment(const Environment& changes) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    if (changes.count(name) == 0) merged.push_back(text);
  }
  for (const auto& change : changes) {
    if (!change.second.empty()) merged.push_back(change.first + "=" + change.second);
  }
  return merged;
}

// `program` as found on PATH (as the shell finds it); itself when it holds a '/'.
std::string FindProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return program;
}

// fork and exec rather than posix_spawn: the child asks to be sent SIGTERM when the test
// that started it dies, so that not even a crashed test leaves a server running.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const Environment& environment, const std::string& output_path) {
  const std::string file = FindProgram(program);
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  const int output = ::open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to exec.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(127);
    if (input >= 0) ::dup2(input, STDIN_FILENO);
    if (output >= 0) {
      ::dup2(output, STDOUT_FILENO);
      ::dup2(output, STDERR_FILENO);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(file.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  if (output >= 0) ::close(output);
  if (input >= 0) ::close(input);
  return pid;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment, const std::string& output_path) {
  Stop();
  status_ = -1;
  pid_ = Spawn(program, args, environment, output_path);
  return pid_ > 0;
}

bool ChildProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
  }
  return true;
}

int ChildProcess::Wait(int timeout_ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (Running()) {
    if (std::chrono::steady_clock::now() >= until) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status_;
}

void ChildProcess::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  if (Wait(2000) == -1 && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment, int timeout_ms) {
  char path[] = "/tmp/onefortwo-command-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd >= 0) ::close(fd);
  CommandResult result;
  ChildProcess child;
  if (child.Start(program, args, environment, path)) {
    result.status = child.Wait(timeout_ms);
    child.Stop();
  }
  result.output = ReadAll(path);
  ::unlink(path);
  return result;
}

int FreeLoopbackPort(int type) {
  const int sock = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  if (sock < 0) return -1;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = -1;
  if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(sock);
  return port;
}

}  // namespace onefortwo
