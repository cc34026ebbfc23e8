#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_device.h"

namespace onefortwo {

using Bytes = std::vector<uint8_t>;

// What a fake device has seen and will give; shared with the test so that it outlives
// the device the station owns.
struct FakeLine {
  Bytes written;                // every byte written, in order
  std::vector<Bytes> frames;    // each Write call's bytes
  std::deque<uint8_t> incoming; // bytes waiting to be read
  bool fail_reads = false;      // every read fails
  std::string failure;          // when set, the device has failed for good (unplugged)
  bool connecting = false;      // still connecting: writes send nothing
  bool refuse_configure = false;
  LineSettings configured;
  int configure_calls = 0;
  int flushes = 0;
  int reads = 0;

  void Feed(const Bytes& bytes) { incoming.insert(incoming.end(), bytes.begin(), bytes.end()); }
  void ClearWritten() {
    written.clear();
    frames.clear();
  }
};

// An in-memory serial device over a FakeLine.
class FakeSerialDevice : public SerialDevice {
 public:
  explicit FakeSerialDevice(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}
  bool Configure(const LineSettings& settings) override;
  int Read(uint8_t* buffer, size_t size) override;
  bool Write(const uint8_t* data, size_t size) override;
  void Flush() override { ++line_->flushes; }
  std::string Failure() const override { return line_->failure; }
  bool Connecting() const override { return line_->connecting; }

 private:
  std::shared_ptr<FakeLine> line_;
};

// Opens the fake lines registered by name; any other name is no such port.
class FakeOpener : public SerialPortOpener {
 public:
  std::shared_ptr<FakeLine> Add(const std::string& name);
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override;
  std::map<std::string, std::shared_ptr<FakeLine>> lines;
  std::vector<std::string> opened;  // names asked for, in order
};

// A frame as a device sends it back: `start`, address, text, ETX, check byte.
Bytes ReplyFrame(uint8_t start, uint8_t address, const std::string& text);
Bytes AckFrame(uint8_t address, const std::string& text);
// A command frame as the station sends it.
Bytes CommandFrame(uint8_t address, const std::string& text);
// Bytes written as "02 40 31 03 70".
std::string Hex(const Bytes& bytes);

}  // namespace onefortwo
