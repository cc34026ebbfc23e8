#pragma once

#include <string>

namespace onefortwo {

// A terminal server's port name, "tcp:HOST:PORT": a raw TCP connection to a serial device
// server, which passes the bytes to and from its serial line unchanged.
struct TcpPortName {
  std::string host;  // a host name, a dotted IPv4 address, or an IPv6 address (no brackets)
  int port = 0;      // 1..65535
};

// True when `port_name` begins with "tcp:" (in any case): it names a terminal server,
// well formed or not, and is never a device path.
bool IsTcpPortName(const std::string& port_name);

// Reads "tcp:HOST:PORT" into `*address`. HOST is a host name or an IPv4 address made of
// letters, digits, '.', '-' and '_', or an IPv6 address in brackets ("tcp:[::1]:4001",
// with an optional zone "%eth0"); PORT is 1..65535 in decimal digits. False, leaving
// `*address` as it was, for anything else: no host, no port, port 0 or above 65535, a
// sign, blanks or other characters, an IPv6 address without brackets.
bool ParseTcpPortName(const std::string& port_name, TcpPortName* address);

// The address as a port name writes it: "host:4001", "[::1]:4001".
std::string TcpAddressText(const TcpPortName& address);

}  // namespace onefortwo
