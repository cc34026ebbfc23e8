#pragma once

#include <memory>
#include <string>

#include "host_resolver.h"
#include "platform/serial_device.h"

struct termios;

namespace onefortwo {

// A serial device through termios. Opened non-blocking, so that a read returns at once
// with what has arrived; a hang-up or an unplugged adapter reads as an error (-1), never
// as a busy loop or a crash, and from then on Failure() says why. From the moment it is
// opened the line is raw binary: no echo, no line editing, no output processing, no
// XON/XOFF, whatever Configure later refuses.
class PosixSerialDevice : public SerialDevice {
 public:
  // Opens `path` for reading and writing, exclusively. Null with `*error` set on failure.
  static std::unique_ptr<PosixSerialDevice> Open(const std::string& path, OpenError* error);
  ~PosixSerialDevice() override;

  bool Configure(const LineSettings& settings) override;
  int Read(uint8_t* buffer, size_t size) override;
  bool Write(const uint8_t* data, size_t size) override;
  void Flush() override;
  std::string Failure() const override { return failure_; }

  // True once a read has seen the other end hang up.
  bool hung_up() const { return hung_up_; }
  // Whether the driver took RS-485 RTS-on-send at the last Configure (false on a
  // pseudo-terminal or an RS-232 port, which work without it).
  bool rs485_enabled() const { return rs485_enabled_; }

 private:
  explicit PosixSerialDevice(int fd) : fd_(fd) {}
  // Records that the device has gone, with `error` (an errno value, 0 for end of file).
  void Gone(int error);

  int fd_;
  bool hung_up_ = false;
  std::string failure_;
  bool rs485_enabled_ = false;
};

// Opens port names as the station's operator writes them: COMn, device paths, and
// tcp:HOST:PORT for a terminal server (a TcpSerialDevice, which opens at once and connects
// later; a malformed tcp: name is OpenError::bad_tcp_address).
class PosixSerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override;

 private:
  HostResolver resolver_;  // terminal servers' host names, looked up off this thread
};

// Makes `*termios_p` a raw binary line without touching the character format or the rate
// (c_cflag) or the input parity check (INPCK): no echo, no canonical mode, no signals, no
// output processing, no translation of CR and NL, no XON/XOFF, and reads that return at
// once with what has arrived. What every port is set to as soon as it is opened.
void MakeRawLine(struct termios* termios_p);

// Sets `*termios_p` for the settings: raw bytes, the data bits, parity (checked on input
// when it is on) and stop bits, no XON/XOFF or hardware handshake, reads that return at
// once, and the rate where it has a Bnnn constant (other rates are left to SetCustomBaud).
// False for settings the line cannot take (data bits outside 5..8, unknown parity or stop
// code, a rate not above 0).
bool ApplyLineSettings(struct termios* termios_p, const LineSettings& settings);

// Sets an arbitrary rate with the kernel's termios2 (BOTHER). False where not supported.
bool SetCustomBaud(int fd, int baud);

}  // namespace onefortwo
