#include "tcp_port_name.h"

#include <cctype>

namespace onefortwo {
namespace {

constexpr size_t kPrefixLength = 4;  // "tcp:"
constexpr int kHighestPort = 65535;

bool NameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

// Hex digits, ':' and '.' (an IPv4 tail), then an optional zone after '%'.
bool Ipv6Text(const std::string& text) {
  if (text.find(':') == std::string::npos) return false;
  bool in_zone = false;
  for (char c : text) {
    if (c == '%' && !in_zone) {
      in_zone = true;
    } else if (in_zone ? !NameCharacter(c)
                       : !(std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.')) {
      return false;
    }
  }
  return text.back() != '%';
}

}  // namespace

bool IsTcpPortName(const std::string& port_name) {
  if (port_name.size() < kPrefixLength) return false;
  for (size_t i = 0; i < 3; ++i) {
    if (std::tolower(static_cast<unsigned char>(port_name[i])) != "tcp"[i]) return false;
  }
  return port_name[3] == ':';
}

bool ParseTcpPortName(const std::string& port_name, TcpPortName* address) {
  if (!IsTcpPortName(port_name)) return false;
  const std::string rest = port_name.substr(kPrefixLength);
  const size_t colon = rest.rfind(':');
  if (colon == std::string::npos) return false;
  std::string host = rest.substr(0, colon);
  const std::string digits = rest.substr(colon + 1);

  if (!host.empty() && host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    host = host.substr(1, host.size() - 2);
    if (!Ipv6Text(host)) return false;
  } else {
    if (host.empty()) return false;
    for (char c : host) {
      if (!NameCharacter(c)) return false;  // a bare ':' too: IPv6 goes in brackets
    }
  }

  if (digits.empty()) return false;
  int port = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    port = port * 10 + (c - '0');
    if (port > kHighestPort) return false;
  }
  if (port < 1) return false;

  address->host = host;
  address->port = port;
  return true;
}

std::string TcpAddressText(const TcpPortName& address) {
  const bool ipv6 = address.host.find(':') != std::string::npos;
  return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

}  // namespace onefortwo
