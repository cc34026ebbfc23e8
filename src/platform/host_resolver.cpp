#include "host_resolver.h"

#include <netdb.h>

#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

namespace onefortwo {
namespace {

// getaddrinfo for a TCP connection to `host`:`port`; `flags` AI_NUMERICHOST for the
// lookup that must not reach a name server. Returns 0 or the getaddrinfo error.
int LookUp(const std::string& host, int port, int flags, std::vector<SocketAddress>* out) {
  struct addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  // Every family the name has: an address this machine cannot reach fails at once and
  // the next one is tried.
  hints.ai_flags = flags | AI_NUMERICSERV;
  struct addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  const int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  if (error != 0) return error;
  for (const struct addrinfo* one = found; one != nullptr; one = one->ai_next) {
    if (one->ai_addrlen > sizeof(sockaddr_storage)) continue;
    SocketAddress address;
    std::memcpy(&address.storage, one->ai_addr, one->ai_addrlen);
    address.length = static_cast<socklen_t>(one->ai_addrlen);
    address.family = one->ai_family;
    out->push_back(address);
  }
  ::freeaddrinfo(found);
  return 0;
}

}  // namespace

bool HostLookup::Done() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return done_;
}

std::vector<SocketAddress> HostLookup::addresses() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return addresses_;
}

std::string HostLookup::error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

void HostLookup::Finish(std::vector<SocketAddress> addresses, std::string error) {
  std::lock_guard<std::mutex> lock(mutex_);
  addresses_ = std::move(addresses);
  error_ = std::move(error);
  done_ = true;
}

std::string LookupErrorText(const std::string& host, int gai_error) {
  switch (gai_error) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
      return "no such host: " + host;
    case EAI_AGAIN:
      return "no answer from the name server for " + host;
    case EAI_FAIL:
      return "the name server failed to look up " + host;
    default:
      return "cannot look up " + host + ": " + ::gai_strerror(gai_error);
  }
}

std::shared_ptr<HostLookup> HostResolver::Resolve(const std::string& host, int port) {
  auto lookup = std::make_shared<HostLookup>();
  std::vector<SocketAddress> addresses;
  if (LookUp(host, port, AI_NUMERICHOST, &addresses) == 0) {
    lookup->Finish(std::move(addresses), std::string());
    return lookup;
  }

  for (auto it = running_.begin(); it != running_.end();) {
    it = it->second->Done() ? running_.erase(it) : std::next(it);
  }
  const std::string key = host + " " + std::to_string(port);
  const auto running = running_.find(key);
  if (running != running_.end()) return running->second;

  try {
    std::thread([lookup, host, port] {
      std::vector<SocketAddress> found;
      const int error = LookUp(host, port, 0, &found);
      lookup->Finish(std::move(found), error == 0 ? std::string() : LookupErrorText(host, error));
    }).detach();
  } catch (const std::system_error&) {
    lookup->Finish({}, "cannot look up " + host + ": no thread to do it on");
    return lookup;
  }
  running_[key] = lookup;
  return lookup;
}

}  // namespace onefortwo
