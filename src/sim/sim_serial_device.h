#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "sim/sim_installation.h"

namespace onefortwo {

// The station's port on an in-process simulated installation. Each byte written reaches
// the devices when its time on the line has passed; each reply byte becomes readable
// when its time on the line has come. Time is the clock's counter, read at every call,
// so the installation advances lazily whenever the station reads or writes and no
// thread is needed. Flush waits (Clock::Sleep) until what was written has left, as a
// driver does, so that the station's reply time-out starts at the end of transmission.
class SimSerialDevice : public SerialDevice {
 public:
  // `clock` must have a counter (checked by the opener) and outlive the device. The
  // device marks the installation attached for its lifetime.
  SimSerialDevice(std::shared_ptr<SimInstallation> installation, Clock& clock,
                  int64_t counter_frequency);
  ~SimSerialDevice() override;
  SimSerialDevice(const SimSerialDevice&) = delete;
  SimSerialDevice& operator=(const SimSerialDevice&) = delete;

  bool Configure(const LineSettings& settings) override;
  int Read(uint8_t* buffer, size_t size) override;
  bool Write(const uint8_t* data, size_t size) override;
  void Flush() override;
  bool Simulated() const override { return true; }

 private:
  double NowMs();

  std::shared_ptr<SimInstallation> installation_;
  Clock& clock_;
  int64_t frequency_;
  double sent_ms_ = 0.0;  // when the last byte written has left the station
};

}  // namespace onefortwo
