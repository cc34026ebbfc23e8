#pragma once

#include <memory>
#include <string>

#include "platform/serial_device.h"

struct termios;

namespace onefortwo {

// A serial device through termios. Opened non-blocking, so that a read returns at once
// with what has arrived; a hang-up or an unplugged adapter reads as an error (-1), never
// as a busy loop or a crash.
class PosixSerialDevice : public SerialDevice {
 public:
  // Opens `path` for reading and writing, exclusively. Null with `*error` set on failure.
  static std::unique_ptr<PosixSerialDevice> Open(const std::string& path, OpenError* error);
  ~PosixSerialDevice() override;

  bool Configure(const LineSettings& settings) override;
  int Read(uint8_t* buffer, size_t size) override;
  bool Write(const uint8_t* data, size_t size) override;
  void Flush() override;

  // True once a read has seen the other end hang up.
  bool hung_up() const { return hung_up_; }
  // Whether the driver took RS-485 RTS-on-send at the last Configure (false on a
  // pseudo-terminal or an RS-232 port, which work without it).
  bool rs485_enabled() const { return rs485_enabled_; }

 private:
  explicit PosixSerialDevice(int fd) : fd_(fd) {}
  int fd_;
  bool hung_up_ = false;
  bool rs485_enabled_ = false;
};

// Opens port names as the station's operator writes them: COMn, device paths.
class PosixSerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override;
};

// Sets `*termios_p` for the settings: raw bytes, the data bits, parity and stop bits, no
// XON/XOFF or hardware handshake, reads that return at once, and the rate where it has a
// Bnnn constant (other rates are left to SetCustomBaud). False for settings the line
// cannot take (data bits outside 5..8, unknown parity or stop code, a rate not above 0).
bool ApplyLineSettings(struct termios* termios_p, const LineSettings& settings);

// Sets an arbitrary rate with the kernel's termios2 (BOTHER). False where not supported.
bool SetCustomBaud(int fd, int baud);

}  // namespace onefortwo
