#pragma once

#include <string>
#include <vector>

#include "wserial/serial_link.h"

namespace onefortwo {

// The texts of the dialog's five combo boxes (port, baud rate, data bits, stop bits,
// parity), as shown or as typed.
struct SerialConfigFields {
  std::string port;
  std::string baud;
  std::string data;
  std::string stop;
  std::string parity;
};

// The choices of each combo box, in the order they are shown.
struct SerialConfigLists {
  std::vector<std::string> port;    // SerialPortList
  std::vector<std::string> baud;    // the baud table's rates, in table order
  std::vector<std::string> data;    // "7", "8"
  std::vector<std::string> stop;    // "1", "2"
  std::vector<std::string> parity;  // "EVEN", "NONE", "ODD"
};

// The serial configuration dialog ("Serial Port Configuration"): it shows the link's
// settings and applies the operator's choice by reopening the port, saving it to the
// defaults file only when the port opened. It keeps no settings of its own.
class SerialConfigDialog {
 public:
  // What OK led to.
  struct Outcome {
    bool close = false;   // the dialog ends
    bool saved = false;   // the defaults file was written
    std::string message;  // when not empty: show it, captioned `caption`, error icon,
    std::string caption;  // owned by the dialog, which stays open
    std::string detail;   // why, in a few words, shown under the message ("" for none)
  };

  // Opened on `link`; `devices` are the serial devices found on this machine.
  SerialConfigDialog(SerialLink& link, const std::vector<std::string>& devices);

  // The fields' texts at opening: the port name (which need not be in the list), the
  // baud rate when the table has it (else empty), "8" or "7", "2" or "1", and "NONE",
  // "ODD" or "EVEN" (empty for an unknown parity code).
  const SerialConfigFields& initial() const { return initial_; }
  const SerialConfigLists& lists() const { return lists_; }

  // OK with the five texts. A port name that is empty, longer than kMaxPortNameLength or
  // holds a blank (the defaults file could not hold it) is refused with a message and
  // nothing changes. Otherwise every setting takes its text at once: the baud rate when the
  // text names a rate of the table (ignoring case; else it stays), data bits 7 for "7" and
  // 8 for anything else, two stop bits for "2" and one otherwise, parity even for "EVEN",
  // odd for "ODD" (ignoring case), none otherwise. Then the port is reopened; when it
  // opens, the settings are saved and the dialog ends, else "Can't open Com Port %s." is
  // shown captioned "Problem" and the dialog stays open with the new settings in force.
  Outcome Ok(const SerialConfigFields& texts);
  // Cancel changes nothing and saves nothing; the dialog ends.

 private:
  SerialLink& link_;
  SerialConfigFields initial_;
  SerialConfigLists lists_;
};

}  // namespace onefortwo
