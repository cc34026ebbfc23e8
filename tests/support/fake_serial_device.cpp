#include "support/fake_serial_device.h"

#include <cstdio>

namespace onefortwo {

bool FakeSerialDevice::Configure(const LineSettings& settings) {
  ++line_->configure_calls;
  line_->configured = settings;
  return !line_->refuse_configure;
}

int FakeSerialDevice::Read(uint8_t* buffer, size_t size) {
  ++line_->reads;
  if (line_->fail_reads) return -1;
  size_t got = 0;
  while (got < size && !line_->incoming.empty()) {
    buffer[got++] = line_->incoming.front();
    line_->incoming.pop_front();
  }
  return static_cast<int>(got);
}

bool FakeSerialDevice::Write(const uint8_t* data, size_t size) {
  if (line_->connecting) return false;
  line_->written.insert(line_->written.end(), data, data + size);
  line_->frames.emplace_back(data, data + size);
  return true;
}

std::shared_ptr<FakeLine> FakeOpener::Add(const std::string& name) {
  auto line = std::make_shared<FakeLine>();
  lines[name] = line;
  return line;
}

std::unique_ptr<SerialDevice> FakeOpener::Open(const std::string& port_name, OpenError* error) {
  opened.push_back(port_name);
  auto found = lines.find(port_name);
  if (found == lines.end()) {
    *error = OpenError::no_such_port;
    return nullptr;
  }
  *error = OpenError::none;
  return std::make_unique<FakeSerialDevice>(found->second);
}

Bytes ReplyFrame(uint8_t start, uint8_t address, const std::string& text) {
  Bytes frame;
  frame.reserve(text.size() + 4);
  frame.push_back(start);
  frame.push_back(address);
  for (char c : text) frame.push_back(static_cast<uint8_t>(c));
  frame.push_back(0x03);
  uint8_t sum = 0;
  for (uint8_t b : frame) sum ^= b;
  frame.push_back(sum);
  return frame;
}

Bytes AckFrame(uint8_t address, const std::string& text) { return ReplyFrame(0x06, address, text); }

Bytes CommandFrame(uint8_t address, const std::string& text) {
  return ReplyFrame(0x02, address, text);
}

std::string Hex(const Bytes& bytes) {
  std::string out;
  char two[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    if (i) out += ' ';
    out += two;
  }
  return out;
}

}  // namespace onefortwo
