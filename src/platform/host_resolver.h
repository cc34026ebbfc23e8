#pragma once

#include <sys/socket.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace onefortwo {

// One address to connect to.
struct SocketAddress {
  sockaddr_storage storage = {};
  socklen_t length = 0;
  int family = AF_UNSPEC;
};

// The addresses of one host and port, filled in by the thread that looks them up and read
// by the device that waits for them. Safe to use from both.
class HostLookup {
 public:
  // False while the lookup runs.
  bool Done() const;
  // Once done: the addresses to try in order (empty when the lookup failed), and why it
  // failed in a few words ("no such host: ts1.example"), empty when it did not.
  std::vector<SocketAddress> addresses() const;
  std::string error() const;

  // Called once by whoever looked the host up.
  void Finish(std::vector<SocketAddress> addresses, std::string error);

 private:
  mutable std::mutex mutex_;
  bool done_ = false;
  std::vector<SocketAddress> addresses_;
  std::string error_;
};

// Looks host names up for TCP connections without ever making its caller wait. A numeric
// address (127.0.0.1, ::1) is read at once; a name is looked up on a thread of its own,
// which may take as long as the name servers take (seconds when they do not answer). A
// lookup still running for the same host and port is shared rather than started again,
// so a station that retries every 2 s behind a silent name server runs one lookup at a
// time. A device may drop its lookup at any time: the thread finishes on its own and
// frees what it used. Used from one thread (the user-interface thread).
class HostResolver {
 public:
  std::shared_ptr<HostLookup> Resolve(const std::string& host, int port);

 private:
  std::map<std::string, std::shared_ptr<HostLookup>> running_;
};

// What a failed getaddrinfo means for `host`, in a few words.
std::string LookupErrorText(const std::string& host, int gai_error);

}  // namespace onefortwo
