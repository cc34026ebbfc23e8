#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace onefortwo {

// Line settings in the codes the port driver takes.
struct LineSettings {
  int baud = 9600;      // bits per second; any rate the device accepts
  int data_bits = 8;    // 7 or 8 from the dialog; the file may hold any number
  int stop_code = 0;    // 0: one stop bit, 2: two stop bits (1, one and a half, is refused)
  int parity_code = 0;  // 0: none, 1: odd, 2: even
};

// One open serial line. Every call returns at once except Flush, which waits until the
// driver has passed what was written to the line. Not shared between threads.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Applies the settings: given rate, data bits, parity and stop bits, no XON/XOFF, and
  // RTS raised while sending where the driver can do that. False when the device refuses
  // them; the device stays open with whatever it had reached.
  virtual bool Configure(const LineSettings& settings) = 0;

  // Copies up to `size` bytes that have already arrived into `buffer`. Returns their
  // count, 0 when nothing is waiting, or -1 when the read failed (hang-up, unplugged
  // adapter, driver error). Never waits.
  virtual int Read(uint8_t* buffer, size_t size) = 0;

  // Writes `size` bytes. False when not all of them could be handed to the driver.
  virtual bool Write(const uint8_t* data, size_t size) = 0;

  // Returns when the driver has sent what was written (or cannot send it).
  virtual void Flush() = 0;

  // Empty while the device works. Once it has failed for good (the adapter was unplugged,
  // the other end hung up, the connection was refused or dropped), why, in a few words:
  // the station then closes it and opens the same name anew every 2 seconds.
  virtual std::string Failure() const { return std::string(); }

  // True for the built-in simulated installation, which the station marks as such.
  virtual bool Simulated() const { return false; }

  // True while the device is still making its connection (a terminal server's TCP
  // connection being set up): reads give 0 and writes send nothing until it is made, or
  // until Failure() says why it could not be. False for devices that are ready once open.
  virtual bool Connecting() const { return false; }
};

// Why a port could not be opened. A closed set: the GUI words each one.
enum class OpenError {
  none,            // opened
  name_too_long,   // more than kMaxPortNameLength characters: refused, never truncated
  no_such_port,    // nothing by that name on this machine
  access_denied,   // exists, but this user may not open it
  busy,            // another program holds it
  not_a_serial_port,
  failed,          // any other reason the system gave
  // "tcp:..." but not tcp:HOST:PORT with a port from 1 to 65535
  bad_tcp_address,
  // a tcp: name on a system whose build opens no terminal servers (Windows)
  tcp_not_supported,
};

const char* OpenErrorText(OpenError error);

// Opens serial devices by the names the operator uses ("COM2", "/dev/ttyUSB0", "SIM").
class SerialPortOpener {
 public:
  virtual ~SerialPortOpener() = default;
  // Returns the open device, or null with `*error` saying why.
  virtual std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) = 0;
};

}  // namespace onefortwo
