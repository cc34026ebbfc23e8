#pragma once

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "fuzz_check.h"

namespace onefortwo {

// What holds for any amplifier record, whatever the line brought: a known state and fault,
// every reading a text that ends within its 10 bytes, the flags 0 or 1.
inline void CheckAmpRecord(const amp_struct& info, const char* which) {
  FUZZ_CHECK(info.status >= amp_no_contact && info.status <= amp_hv_on, "%s status %d", which,
             static_cast<int>(info.status));
  // No reply produces amp_ac_off.
  FUZZ_CHECK(info.status != amp_ac_off, "%s status AC off", which);
  FUZZ_CHECK(info.fault_status >= fault_none && info.fault_status < kFaultCount, "%s fault %d",
             which, static_cast<int>(info.fault_status));
  const struct {
    const char* name;
    const char* text;
  } readings[] = {
      {"power_out", info.power_out},
      {"power_back", info.power_back},
      {"attenuation", info.attenuation},
      {"voltage", info.voltage},
      {"temp", info.temp},
      {"current", info.current},
  };
  for (const auto& reading : readings) {
    FUZZ_CHECK(Terminated(reading.text, kReadingSize), "%s %s has no end within %d bytes", which,
               reading.name, kReadingSize);
  }
  for (char flag : {info.remote, info.constant, info.rf_inhibit}) {
    FUZZ_CHECK(flag == 0 || flag == 1, "%s flag %d", which, flag);
  }
}

// The controller's four facts and its contact flag each hold one of their two values.
inline void CheckControllerRecord(const ControllerState& controller) {
  FUZZ_CHECK(controller.waveguide1 == 'A' || controller.waveguide1 == 'B', "waveguide1 %d",
             controller.waveguide1);
  FUZZ_CHECK(controller.waveguide2 == 'A' || controller.waveguide2 == 'B', "waveguide2 %d",
             controller.waveguide2);
  FUZZ_CHECK(controller.controller_local == 0 || controller.controller_local == 1, "local %d",
             controller.controller_local);
  FUZZ_CHECK(controller.controller_manual == 0 || controller.controller_manual == 1, "manual %d",
             controller.controller_manual);
  FUZZ_CHECK(controller.controller_contact == 0 || controller.controller_contact == 1,
             "controller_contact %d", controller.controller_contact);
}

}  // namespace onefortwo
