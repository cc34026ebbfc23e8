#pragma once

#include <string>

#include "round/round.h"

namespace onefortwo {

// Command texts that set an amplifier's output power, attenuation and constant-power
// mode. An empty text means the value cannot be commanded (not a finite number, or too
// large for the amplifier's number forms) and nothing may be sent.

// "E%04d" of the whole watts, or "D%4.1f" of the dBW (a dBm entry converted to dBW).
std::string SetPowerText(power_enum power_format, double pwr);
// "K%4.1f" of the dB; the power unit plays no part.
std::string SetAttenuationText(double db);
// "H" when `on` is 0; otherwise "G%04d" or "F%4.1f" like SetPowerText. A `pwr` that is
// not at least 0 means the forward power now shown: the leading number of `power_out`.
std::string SetConstantText(power_enum power_format, int on, double pwr, const char* power_out);

}  // namespace onefortwo
