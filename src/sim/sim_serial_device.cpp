#include "sim/sim_serial_device.h"

#include <algorithm>
#include <cmath>

namespace onefortwo {

SimSerialDevice::SimSerialDevice(std::shared_ptr<SimInstallation> installation, Clock& clock,
                                 int64_t counter_frequency)
    : installation_(std::move(installation)), clock_(clock), frequency_(counter_frequency) {
  installation_->set_attached(true);
}

SimSerialDevice::~SimSerialDevice() {
  installation_->set_attached(false);
}

double SimSerialDevice::NowMs() {
  return CounterMs(clock_.QueryPerformanceCounter(), frequency_);
}

bool SimSerialDevice::Configure(const LineSettings& settings) {
  return installation_->ConfigureLine(settings);
}

int SimSerialDevice::Read(uint8_t* buffer, size_t size) {
  if (size == 0) return 0;
  return static_cast<int>(installation_->TakeReady(NowMs(), buffer, size));
}

bool SimSerialDevice::Write(const uint8_t* data, size_t size) {
  const double now = NowMs();
  installation_->AdvanceTo(now);
  const double byte_ms = installation_->timing().byte_ms();
  double at = std::max(now, sent_ms_);
  for (size_t i = 0; i < size; ++i) {
    at += byte_ms;
    installation_->Receive(data[i], at);
  }
  sent_ms_ = at;
  return true;
}

void SimSerialDevice::Flush() {
  const double left = sent_ms_ - NowMs();
  if (left > 0.0) clock_.Sleep(static_cast<int>(std::ceil(left)));
}

}  // namespace onefortwo
