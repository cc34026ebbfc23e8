#pragma once

#include <string>

#include "shell/station.h"

namespace onefortwo {

// The entry field takes at most this many characters, and Ok reads no more.
constexpr int kNumberEntryMaxLength = 9;

// One open number entry dialog ("GetNumber"): a new output power (or constant-power level)
// or attenuation for one amplifier. Each dialog keeps its own amplifier and entry kind from
// opening to closing, so dialogs of several panels may be open at once.
class NumberEntry {
 public:
  // What Ok led to.
  struct Outcome {
    bool close = false;  // the dialog ends
    bool sent = false;   // a set-point command went out on the line
    // When not empty, why nothing was sent: shown in a box owned by the dialog, captioned
    // "Problem"; the dialog stays open.
    std::string message;
  };

  // Opens for amplifier `amp` (0..2) and entry kind `type`, 106 (output power) or 107
  // (attenuation), the ids of the panel's value buttons. The texts are taken now, in the
  // power unit chosen now. An unknown amplifier keeps the template's texts.
  NumberEntry(Station& station, int amp, int type);

  int amp() const { return amp_; }
  int type() const { return type_; }
  // "Adjust HPA-A Output Power", "Adjust HPA-A Constant Power" when the amplifier was in
  // constant-power mode at opening, or "Adjust HPA-A Attenuation".
  const std::string& title() const { return title_; }
  const std::string& prompt() const { return prompt_; }          // the text beside the field
  const std::string& unit_label() const { return unit_label_; }  // "(Watts)", "(dB)", ...
  // The entry field's first text: the present forward power in the present unit, or the
  // present attenuation.
  const std::string& initial_text() const { return initial_text_; }

  // The power unit the dialog shows and takes its entry in: power_format at opening,
  // whatever unit a panel has chosen since.
  power_enum unit() const { return unit_; }

  // Ok with the field's text `text`: its first kNumberEntryMaxLength characters are read as
  // a number (its leading number; 0 when there is none) and sent in the unit the dialog
  // shows. For output power the command follows the amplifier's constant-power mode as it
  // is now: constant power on at the value when on, else the output power. For attenuation
  // the attenuation. The dialog ends once the command has gone out. A value that cannot be
  // commanded (not finite, or too large for the amplifier's number forms) sends nothing,
  // and neither does a closed port: the dialog stays open and the message says why. An
  // unknown kind or amplifier does nothing and the dialog stays open.
  Outcome Ok(const char* text);
  // Cancel sends nothing; the dialog ends.

 private:
  Station& station_;
  int amp_;
  int type_;
  std::string title_ = "Enter a Number";
  std::string prompt_ = "Enter Desired Output Power:";
  std::string unit_label_ = "(Watts)";
  std::string initial_text_ = "0000";
  power_enum unit_ = power_watts;
};

// The value of an entry as the dialog reads it: the leading number of at most the first
// kNumberEntryMaxLength characters of `text`, 0 when there is none, as a single-precision
// value (beyond its range it is an infinity, which no command accepts).
double NumberEntryValue(const char* text);

}  // namespace onefortwo
