#include "user/number_entry.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "amp/set_point.h"
#include "round/number_text.h"

namespace onefortwo {

double NumberEntryValue(const char* text) {
  char field[kNumberEntryMaxLength + 1] = {};
  if (text != nullptr) std::strncpy(field, text, kNumberEntryMaxLength);
  const double value = ParseLeadingNumber(field);
  // The dialog holds the value as a float; a double beyond the float range has no
  // defined conversion, so it becomes the infinity of its sign.
  if (value > FLT_MAX) return HUGE_VAL;
  if (value < -FLT_MAX) return -HUGE_VAL;
  return static_cast<float>(value);
}

NumberEntry::NumberEntry(Station& station, int amp, int type)
    : station_(station), amp_(amp), type_(type) {
  if (amp < 0 || amp >= kAmpCount) return;
  const amp_struct& info = station.amps.amp_info[amp];
  const char letter = static_cast<char>('A' + amp);
  char title[64];
  if (type == kPowerOutText) {
    if (info.constant) {
      std::snprintf(title, sizeof title, "Adjust HPA-%c Constant Power", letter);
      prompt_ = "Desired Constant Power:";
    } else {
      std::snprintf(title, sizeof title, "Adjust HPA-%c Output Power", letter);
      prompt_ = "Enter Desired Output Power:";
    }
    unit_ = station.power_format;
    unit_label_ = power_entry_label[unit_];
    // Not power_out as it stands: right after a change of unit it still holds the old
    // unit's text, which Ok would send under the new unit's letter.
    initial_text_ = station.amps.ForwardPowerText(amp, station.power_format);
  } else {
    std::snprintf(title, sizeof title, "Adjust HPA-%c Attenuation", letter);
    prompt_ = "Enter Desired Attenuation:";
    unit_label_ = "(dB)";
    initial_text_ = info.attenuation;
  }
  title_ = title;
}

NumberEntry::Outcome NumberEntry::Ok(const char* text) {
  Outcome outcome;
  if (amp_ < 0 || amp_ >= kAmpCount) return outcome;
  if (type_ != kPowerOutText && type_ != kAttenuationText) return outcome;
  const double value = NumberEntryValue(text);
  char field[kNumberEntryMaxLength + 1] = {};
  if (text != nullptr) std::strncpy(field, text, kNumberEntryMaxLength);
  // What the operator confirmed, for the journal: the dialog, the entry and its unit.
  const std::string question = title_ + ": " + field + " " + unit_label_;

  const bool constant = type_ == kPowerOutText && station_.amps.amp_info[amp_].constant;
  std::string command;
  if (std::isnan(value)) {
    // Not a number at all: never taken as "the power shown", as a negative level is.
  } else if (type_ == kAttenuationText) {
    command = SetAttenuationText(value);
  } else if (constant) {
    command = SetConstantText(unit_, 1, value, station_.amps.ForwardPowerText(amp_, unit_).c_str());
  } else {
    command = SetPowerText(unit_, value);
  }
  if (command.empty()) {
    outcome.message = std::string("\"") + field +
                      "\" cannot be sent: it is not a number the amplifier's commands can "
                      "carry. Nothing was sent.";
    return outcome;
  }
  outcome.sent = station_.SendToAmp(amp_, command.c_str(), question);
  if (!outcome.sent) {
    outcome.message = "Nothing was sent: the port is not open.";
    return outcome;
  }
  outcome.close = true;
  return outcome;
}

}  // namespace onefortwo
