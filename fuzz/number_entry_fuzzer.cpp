// The number entry dialog's Ok, for output power (constant power too) and attenuation in
// every unit, and ParseLeadingNumber, which reads the entry.
//
// The input: one byte choosing the amplifier (modulo 3); one byte of flags (bit 0 the
// attenuation dialog instead of the output power one, bit 1 constant-power mode on); one
// byte the power unit (modulo 3); 4 bytes the forward power reading (dBm) of the
// amplifier's last status reply; the rest is the text in the entry field when Ok is
// pressed (up to its first NUL).
//
// Whatever the text, at most one frame goes out, to the dialog's amplifier, and it is a
// well-formed command frame of the amplifier's forms: "E%04d" or "D%4.1f" (constant power
// "G%04d", "F%4.1f") in the unit shown, or "K%4.1f" for attenuation; never a NaN, an
// infinity or a text longer than the amplifier's 80-character command buffer holds. Its
// number is the entry's, rounded as the form rounds it. ParseLeadingNumber reads what the
// C library's strtod reads.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "number_forms.h"
#include "round/number_text.h"
#include "shell/station.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "user/number_entry.h"

namespace onefortwo {
namespace {

constexpr size_t kLongestCommand = 79;  // the amplifier's command buffer, less its NUL

// ParseLeadingNumber against strtod in the C locale. Hexadecimal numbers are left out:
// the line and the panels know only decimal ones.
void CheckLeadingNumber(const std::string& text) {
  const char* p = text.c_str();
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  if (*p == '+' || *p == '-') ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return;

  bool found = false;
  const double value = ParseLeadingNumber(text.c_str(), &found);
  char* end = nullptr;
  const double expected = std::strtod(text.c_str(), &end);
  const bool expected_found = end != text.c_str();
  FUZZ_CHECK(found == expected_found, "\"%s\": found %d, strtod %d", text.c_str(), found,
             expected_found);
  if (!found) {
    FUZZ_CHECK(value == 0.0, "\"%s\": no number, yet %g", text.c_str(), value);
    return;
  }
  // Below the smallest normal number the two may round an underflow differently.
  const bool same = value == expected || (std::isnan(value) && std::isnan(expected)) ||
                    (std::fabs(value) < DBL_MIN && std::fabs(expected) < DBL_MIN);
  FUZZ_CHECK(same, "\"%s\": %.17g, strtod %.17g", text.c_str(), value, expected);
  FUZZ_CHECK(std::signbit(value) == std::signbit(expected) || std::isnan(value),
             "\"%s\": sign of %g, strtod %g", text.c_str(), value, expected);
}

void RunNumberEntry(const uint8_t* data, size_t size) {
  if (size < 7) return;
  const int amp = data[0] % 3;
  const int type = (data[1] & 1) ? kAttenuationText : kPowerOutText;
  const bool constant = (data[1] & 2) != 0;
  const power_enum unit = static_cast<power_enum>(data[2] % 3);
  AmpReply reply;
  reply.state1 = static_cast<uint8_t>(0x14 | (constant ? 0x02 : 0));  // remote, HV on
  reply.forward = std::string(reinterpret_cast<const char*>(data + 3), 4);
  const std::string text(reinterpret_cast<const char*>(data + 7), size - 7);
  const std::string entry = text.c_str();  // the field's text ends at a NUL

  CheckLeadingNumber(entry);

  FakeOpener opener;
  const auto line = opener.Add("COM2");
  FakeClock clock;
  FakeWindows windows;
  Station station(opener, clock, windows);
  FUZZ_CHECK(station.link.InitSerial() == 1, "the fake port does not open");
  for (int a = 0; a < kAmpCount; ++a) station.amps.InitAmpInfo(a);
  station.power_format = unit;
  const Bytes frame = AckFrame(static_cast<uint8_t>(base_address + 1 + amp), reply.Text());
  FUZZ_CHECK(station.amps.ParseAmpResponse(amp, reinterpret_cast<const char*>(frame.data()),
                                           static_cast<int>(frame.size()), unit),
             "the status reply was not taken");

  NumberEntry dialog(station, amp, type);
  line->ClearWritten();
  const NumberEntry::Outcome outcome = dialog.Ok(entry.c_str());

  FUZZ_CHECK(line->frames.size() <= 1, "%zu frames for one Ok", line->frames.size());
  FUZZ_CHECK(outcome.sent == (line->frames.size() == 1), "sent %d with %zu frames", outcome.sent,
             line->frames.size());
  if (line->frames.empty()) return;

  const Bytes& sent = line->frames[0];
  FUZZ_CHECK(sent.size() >= 5 && sent[0] == STX && sent[sent.size() - 2] == ETX, "not a frame: %s",
             Hex(sent).c_str());
  const std::string command(sent.begin() + 2, sent.end() - 2);
  FUZZ_CHECK(sent == CommandFrame(static_cast<uint8_t>(base_address + 1 + amp), command),
             "\"%s\": frame %s", entry.c_str(), Hex(sent).c_str());
  FUZZ_CHECK(command.size() <= kLongestCommand, "\"%s\": a command of %zu characters",
             entry.c_str(), command.size());

  char letter = 'K';
  if (type == kPowerOutText) {
    letter = constant ? (unit == power_watts ? 'G' : 'F') : (unit == power_watts ? 'E' : 'D');
  }
  FUZZ_CHECK(command[0] == letter, "\"%s\" in unit %d: sent \"%s\", not a %c command",
             entry.c_str(), unit, command.c_str(), letter);
  const std::string number = command.substr(1);
  const bool whole = letter == 'E' || letter == 'G';
  double commanded = 0.0;
  if (whole) {
    FUZZ_CHECK(IsIntText(number, "%04d"), "\"%s\": sent \"%s\"", entry.c_str(), command.c_str());
    commanded = std::strtod(number.c_str(), nullptr);
  } else {
    FUZZ_CHECK(IsOneDecimalText(number, &commanded), "\"%s\": sent \"%s\"", entry.c_str(),
               command.c_str());
  }

  // The number sent is the entry's in the unit shown (dBm goes out as dBW), rounded to the
  // form's places. In constant-power mode an entry below 0 stands for the power shown.
  const double value = NumberEntryValue(entry.c_str());
  if (letter == 'G' || letter == 'F') {
    if (!(value >= 0.0)) return;
  }
  const double wanted = type == kPowerOutText && unit == power_dbm ? value - kDbmToDbw : value;
  const double step = whole ? 0.5 : 0.05;
  FUZZ_CHECK(std::fabs(commanded - wanted) <= step * (1 + 1e-9) + std::fabs(wanted) * 1e-12,
             "\"%s\" in unit %d: sent \"%s\"", entry.c_str(), unit, command.c_str());
}

}  // namespace
}  // namespace onefortwo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  onefortwo::RunNumberEntry(data, size);
  return 0;
}
