#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "events/station_events.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/station_windows.h"
#include "wserial/reply_clock.h"

namespace onefortwo {

// Control bytes on the line.
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t NAK = 0x15;

// Port names hold at most 63 characters; a longer name is refused, never cut.
constexpr int kMaxPortNameLength = 63;
// A command frame is built in 256 bytes: STX, address, text, ETX, check byte.
constexpr int kFrameBufferSize = 256;
constexpr int kMaxCommandLength = kFrameBufferSize - 4;
// The reply buffer holds 3000 bytes; a frame that reaches 2500 stored bytes overflows.
constexpr int kResponseBufferSize = 3000;
constexpr int kResponseLimit = 2500;

struct baud_struct {
  int baud;            // bits per second
  const char* string;  // the rate as the operator sees it
};
constexpr int kBaudTableSize = 8;

// XOR of the first `command_length` bytes of `command`. A length of 3000 or more counts as
// 2999, a negative one as 0; no bytes give 0x00.
char XorChecksum(const char* command, int command_length);

// The serial line to the controller and the three amplifiers: its settings and their
// defaults file, the open port, command framing, reply reception and the reply clock.
// One per station; used on the user-interface thread only.
class SerialLink {
 public:
  SerialLink(SerialPortOpener& opener, Clock& clock, StationWindows& windows);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // --- Settings and the port --------------------------------------------------------
  char serial_port[kMaxPortNameLength + 1] = "COM2";
  int serial_baud = 9600;
  int serial_data = 8;    // data bits
  int serial_stop = 0;    // 0 one stop bit, 2 two
  int serial_parity = 0;  // 0 none, 1 odd, 2 even
  baud_struct baud_table[kBaudTableSize] = {};
  // The folder of the defaults file, ending in a separator ("" means the current folder).
  std::string save_directory;

  // Where the port's events go (PortOpened, PortRefused, PortClosed, PortLost,
  // PortRestored); none until set.
  void set_events(StationEvents* events) { events_ = events; }

  void InitBaudTable();
  // (Re)opens and configures the port from the settings. 1 on success, 0 on failure.
  // A port that cannot be opened is left closed (PortOpen() false, last_open_error says
  // why); one that opens but refuses its settings stays open (refused_settings() true).
  // Tells PortClosed for the port it replaces, then PortOpened or PortRefused.
  int InitSerial();
  // Replaces the settings with those of `save_directory`sdefault.txt where it can read
  // them; every field it cannot read keeps its present value. A port name too long to
  // hold leaves no port named (serial_port empty) and defaults_problem() saying why.
  void LoadSerialDefaults();
  // The same from the file's text `text` (its first NUL ends it).
  void ReadSerialDefaults(const char* text);
  // Why the last LoadSerialDefaults could not take the file's port name; empty when it
  // could (or there was no file).
  const std::string& defaults_problem() const { return defaults_problem_; }
  // Writes the settings to `save_directory`sdefault.txt ("%s %d %c %d %d", no line end;
  // blanks make up a line of fewer than 10 bytes, which would not be read back).
  // False when the file could not be written.
  bool SaveSerialDefaults();
  // Takes `name` as the port name. False, and nothing changes, when it is empty or longer
  // than kMaxPortNameLength.
  bool SetSerialPort(const char* name);
  // The defaults file's full name.
  std::string DefaultsFileName() const;

  bool PortOpen() const { return serial_device != nullptr; }
  // Why the last InitSerial failed to open the port (OpenError::none after an open).
  OpenError last_open_error() const { return last_open_error_; }
  // True while the open port is the built-in simulated installation.
  bool simulated() const { return serial_device != nullptr && simulated_; }
  // True when the port is open but refused the settings at the last InitSerial.
  bool refused_settings() const { return refused_settings_; }
  // Closes the port, telling PortClosed with `reason` when one was open.
  void ClosePort(const std::string& reason = "closed");

  // --- Supervision --------------------------------------------------------------------
  // Why the open port has failed for good (SerialDevice::Failure), or empty.
  std::string DeviceFailure() const;
  // Closes the failed port and tells PortLost with `reason`; lost() is then true until
  // the next open. A port reopened that failed while still connecting (restoring()) is
  // closed quietly: its loss has been told already and stands.
  void LosePort(const std::string& reason);
  bool lost() const { return lost_; }
  // After a loss: opens the same name with the same settings again, quietly. When it
  // opens, tells PortRestored and returns true; otherwise (also when the device it opens
  // has failed already) the port stays closed and nothing is told. A device that opens
  // but is still connecting (a terminal server) is kept open and polled, but the loss
  // stands (restoring() true) until CheckRestored sees it connected.
  bool Reopen();
  // True while a reopened port is open but still making its connection.
  bool restoring() const { return restoring_; }
  // While restoring(): once the device has connected, ends the loss and tells
  // PortRestored. Does nothing otherwise; called on every tick while the port is open.
  void CheckRestored();
  // Counts the opens of the port since the start, so that a reopen in between two looks
  // is seen.
  int open_count() const { return open_count_; }
  // The port as events tell it: its name, settings, whether it is simulated, `reason`.
  PortEvent DescribePort(const std::string& reason) const;

  // --- Framing ------------------------------------------------------------------------
  // Address of the device last written to; -1 until the first command.
  int response_pending = -1;
  // Frames `command_string` for the device at address `device` (low 8 bits on the wire),
  // writes it at once, waits for the driver, and restarts the reply clock.
  // `command_length` 0 takes the text up to its NUL. A text longer than kMaxCommandLength
  // or a negative length sends nothing (response_pending is still set). Returns whether
  // a frame was handed to an open port.
  bool SendCommand(int device, const char* command_string, int command_length);

  // --- Reception ----------------------------------------------------------------------
  char response_buf[kResponseBufferSize] = {};
  int receive_count = 0;
  int got_start = 0;
  int response_done = 0;  // 0 collecting, 1 ETX seen, 2 finished
  // Reads what has arrived, up to the end of one frame. 1 when a complete ACK frame with
  // a correct check byte stands in response_buf, else 0. Never waits.
  int TrapResponse();
  void ResetReceiver();
  // 1 when the check byte of the frame in response_buf is wrong (or there is none).
  int CheckSumError() const;

  // --- Reply clock --------------------------------------------------------------------
  ReplyClock reply_clock;
  int PastTime(long msec_interval) { return reply_clock.PastTime(msec_interval); }

  std::unique_ptr<SerialDevice> serial_device;

 private:
  // Reads one byte: 1 read, 0 none waiting, -1 the read failed.
  int ReadByte(uint8_t* byte);

  // Opens and configures from the settings without telling anything: 1, 0 as InitSerial.
  int OpenPort();

  SerialPortOpener& opener_;
  StationEvents* events_ = nullptr;
  OpenError last_open_error_ = OpenError::none;
  std::string defaults_problem_;
  bool refused_settings_ = false;
  bool simulated_ = false;  // the open (or last open) port is the simulated installation
  bool lost_ = false;
  bool restoring_ = false;
  std::string lost_reason_;
  int open_count_ = 0;
};

}  // namespace onefortwo
