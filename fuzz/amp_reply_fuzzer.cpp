// AmpModel::ParseAmpResponse on any frame, of any length, in any power unit.
//
// The input: one byte choosing the amplifier (0..2 A..C, 3 one the station does not have),
// one byte the power unit (0 Watts, 1 dBm, 2 dBW, modulo 3), one byte whether the fault
// dialog is open; the rest is the frame as it stands in response_buf, its length as
// receive_count. The frame lives in a buffer of exactly that size, so that a read past the
// received bytes is caught.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "amp/amp_info.h"
#include "amp_invariants.h"
#include "fuzz_check.h"
#include "number_forms.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

struct ModelCopy {
  explicit ModelCopy(const AmpModel& model) {
    std::memcpy(info, model.amp_info, sizeof info);
    std::memcpy(readings, model.readings, sizeof readings);
    std::memcpy(forward, model.forward_dbm, sizeof forward);
  }
  bool Same(const AmpModel& model) const {
    return std::memcmp(info, model.amp_info, sizeof info) == 0 &&
           std::memcmp(readings, model.readings, sizeof readings) == 0 &&
           std::memcmp(forward, model.forward_dbm, sizeof forward) == 0;
  }
  amp_struct info[kAmpCount];
  AmpReadings readings[kAmpCount];
  char forward[kAmpCount][kReadingSize];
};

// A power reading as the panels show it in `unit`; `raw` is the 4 characters received.
bool IsPowerText(const std::string& text, power_enum unit, const char* watts_form,
                 const std::string& raw) {
  if (text == "****") return true;  // too large for its place
  switch (unit) {
    case power_watts:
      return IsIntText(text, watts_form) && text.find('-') == std::string::npos;
    case power_dbw:
      return IsOneDecimalText(text);
    case power_dbm:
      return text == "0" || text == raw;
  }
  return false;
}

void RunAmpReply(const uint8_t* data, size_t size) {
  if (size < 3) return;
  const int amp = data[0] % 4 == 3 ? kAmpCount : data[0] % 4;
  const power_enum unit = static_cast<power_enum>(data[1] % 3);
  FakeWindows windows;
  for (bool& open : windows.fault_open) open = (data[2] & 1) != 0;
  const std::vector<char> frame(data + 3, data + size);
  const int receive_count = static_cast<int>(frame.size());

  AmpModel model(windows);
  for (int a = 0; a < kAmpCount; ++a) model.InitAmpInfo(a);
  const ModelCopy before(model);
  const bool taken = model.ParseAmpResponse(amp, frame.data(), receive_count, unit);

  if (!taken) {
    FUZZ_CHECK(before.Same(model), "a frame that was not taken changed the records");
    FUZZ_CHECK(windows.log.empty(), "a frame that was not taken asked for %s",
               windows.log.front().c_str());
    return;
  }
  FUZZ_CHECK(amp < kAmpCount, "a reply taken for amplifier %d", amp);
  FUZZ_CHECK(receive_count >= kAmpStatusFrameLength && frame[2] == '?',
             "a %d-byte frame taken as a status reply", receive_count);
  for (int other = 0; other < kAmpCount; ++other) {
    if (other == amp) continue;
    FUZZ_CHECK(std::memcmp(&before.info[other], &model.amp_info[other], sizeof(amp_struct)) == 0,
               "amplifier %d's reply changed amplifier %d", amp, other);
  }

  const amp_struct& info = model.amp_info[amp];
  CheckAmpRecord(info, "amp_info");
  FUZZ_CHECK(info.status != amp_no_contact, "a status reply left no contact");
  const std::string forward_raw(frame.data() + 15, strnlen(frame.data() + 15, 4));
  const std::string reverse_raw(frame.data() + 19, strnlen(frame.data() + 19, 4));
  FUZZ_CHECK(IsPowerText(info.power_out, unit, "%d", forward_raw),
             "forward power \"%s\" in unit %d from \"%s\"", info.power_out, unit,
             forward_raw.c_str());
  FUZZ_CHECK(IsPowerText(info.power_back, unit, "%4d", reverse_raw),
             "reverse power \"%s\" in unit %d from \"%s\"", info.power_back, unit,
             reverse_raw.c_str());
  FUZZ_CHECK(model.ForwardPowerText(amp, unit) == info.power_out,
             "ForwardPowerText \"%s\" but power_out \"%s\"",
             model.ForwardPowerText(amp, unit).c_str(), info.power_out);
  // The other units give what a reply parsed in them would have shown.
  for (int other_unit = 0; other_unit < 3; ++other_unit) {
    const std::string text = model.ForwardPowerText(amp, static_cast<power_enum>(other_unit));
    FUZZ_CHECK(IsPowerText(text, static_cast<power_enum>(other_unit), "%d", forward_raw),
               "ForwardPowerText \"%s\" in unit %d", text.c_str(), other_unit);
  }

  FUZZ_CHECK(model.audio_enabled[amp] == 0 || model.audio_enabled[amp] == 1, "audio_enabled %d",
             model.audio_enabled[amp]);
  for (const std::string& request : windows.log) {
    if (request.rfind("open fault", 0) == 0) {
      FUZZ_CHECK(info.status == amp_fault, "fault dialog opened in state %d",
                 static_cast<int>(info.status));
    } else {
      FUZZ_CHECK(request == std::string("fault text ") + std::to_string(amp) + " " +
                                fault_string[info.fault_status],
                 "asked for %s", request.c_str());
    }
  }
}

}  // namespace
}  // namespace onefortwo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  onefortwo::RunAmpReply(data, size);
  return 0;
}
