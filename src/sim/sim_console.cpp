#include "sim/sim_console.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "amp/amp_info.h"
#include "sim/redundancy.h"
#include "sim/sim_readings.h"

namespace onefortwo {
namespace {

constexpr int kMaxNoise = 1000;
constexpr int kMaxCount = 1000000;

const char kHelp[] =
    "Devices: A, B, C (the amplifiers) and ctl (the redundancy controller).\n"
    "  status                      every device's state\n"
    "  fault AMP FAULT [sticky]    fault an amplifier; a fault reset (B) clears it unless\n"
    "                              sticky. FAULT: low-line fan-locked over-volt over-temp\n"
    "                              momentary-helix latched-helix high-output low-output\n"
    "                              external-interlock high-reflected under-volt\n"
    "  clear AMP                   clear every fault of the amplifier, sticky ones too\n"
    "  alarm AMP on|off            the amplifier's alarm\n"
    "  hv AMP on|off|warmup        high voltage on at once, off (standby), or the warm-up\n"
    "  rf AMP on|off               RF enabled or inhibited\n"
    "  autohv AMP on|off           the automatic high-voltage flag\n"
    "  local DEV | remote DEV      front-panel or remote control (local refuses commands)\n"
    "  mode auto|manual            the controller's redundancy mode\n"
    "  switch 1|2 A|B              throw a waveguide switch\n"
    "  silent DEV [N]              the device hears and answers nothing\n"
    "  nak DEV [N]                 the device refuses every frame with NAK\n"
    "  badcheck DEV [N]            the device obeys, its replies carry a wrong check byte\n"
    "  cut DEV [N]                 the device obeys, its replies stop half way\n"
    "                              (N: for the next N frames only; without N until normal)\n"
    "  normal DEV                  the device answers as it should again\n"
    "  noise N                     N random bytes on the line now (1..1000)\n"
    "  log on|off                  the frame log on standard error\n"
    "  help                        this list\n"
    "  quit                        end the simulator";

struct FaultName {
  const char* name;
  fault_enum fault;
};
constexpr FaultName kFaultNames[] = {
    {"low-line", fault_low_line},
    {"fan-locked", fault_fan_locked},
    {"over-volt", fault_over_volt},
    {"over-temp", fault_over_temp},
    {"momentary-helix", fault_momentary_helix},
    {"latched-helix", fault_latched_helix},
    {"high-output", fault_high_output},
    {"low-output", fault_low_output},
    {"external-interlock", fault_external_interlock},
    {"high-reflected", fault_high_reflected},
    {"under-volt", fault_under_volt},
};

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '_') c = '-';
  }
  return text;
}

// 0 the controller, 1..3 amplifiers A..C, -1 not a device name.
int DeviceNumber(const std::string& word) {
  if (word == "a" || word == "b" || word == "c") return word[0] - 'a' + 1;
  if (word == "ctl" || word == "controller" || word == "@") return 0;
  return -1;
}

// 1 for on, 0 for off, -1 for anything else.
int OnOff(const std::string& word) {
  if (word == "on") return 1;
  if (word == "off") return 0;
  return -1;
}

// A whole number 1..`limit`, or -1.
int Count(const std::string& word, int limit) {
  if (word.empty() || word.size() > 7) return -1;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= limit ? value : -1;
}

std::string Error(const std::string& what) {
  return "error: " + what;
}

const char* HighVoltageName(SimAmplifier::HighVoltage state) {
  switch (state) {
    case SimAmplifier::HighVoltage::standby:
      return "standby";
    case SimAmplifier::HighVoltage::time_delay:
      return "time delay";
    case SimAmplifier::HighVoltage::on:
      return "high voltage on";
  }
  return "standby";
}

std::string FaultList(const SimAmplifier& amp) {
  std::string list;
  for (const FaultName& entry : kFaultNames) {
    int byte = 0;
    const int bit = SimAmplifier::FaultBit(entry.fault, &byte);
    if ((amp.fault_byte(byte) & bit) != 0) {
      if (!list.empty()) list += ' ';
      list += entry.name;
    }
  }
  return list.empty() ? "none" : list;
}

std::string ReplyFaultText(const ReplyFaults& faults, int device) {
  const ReplyFault fault = faults.fault(device);
  if (fault == ReplyFault::none) return "answers";
  std::string text = ReplyFaultName(fault);
  const int left = faults.remaining(device);
  if (left > 0) text += " for " + std::to_string(left) + " more";
  return text;
}

}  // namespace

const char* SimConsole::HelpText() {
  return kHelp;
}

std::string SimConsole::Status() const {
  std::ostringstream out;
  const SimController& ctl = installation_.controller();
  const Route route = RouteFor(ctl.waveguide1(), ctl.waveguide2());
  out << "ctl: " << (ctl.manual() ? "manual" : "automatic") << ", "
      << (ctl.local() ? "local" : "remote") << ", switch 1 " << ctl.waveguide1() << ", switch 2 "
      << ctl.waveguide2() << " (output 1 " << static_cast<char>('A' + route.output1)
      << ", output 2 " << static_cast<char>('A' + route.output2) << ", spare "
      << static_cast<char>('A' + route.spare) << "), "
      << ReplyFaultText(installation_.reply_faults(), 0) << "\n";
  for (int amp = 0; amp < 3; ++amp) {
    const SimAmplifier& a = installation_.amplifier(amp);
    out << static_cast<char>('A' + amp) << ": " << HighVoltageName(a.high_voltage()) << ", RF "
        << (a.rf_inhibit() ? "inhibited" : "enabled") << ", " << (a.remote() ? "remote" : "local")
        << (a.constant() ? ", constant power" : "") << (a.alarm() ? ", alarm" : "") << ", forward "
        << Reading4(WattsToDbm(a.forward_watts())) << " dBm, attenuation "
        << Reading4(a.attenuation()) << " dB, faults " << FaultList(a) << ", "
        << ReplyFaultText(installation_.reply_faults(), amp + 1) << "\n";
  }
  out << "ok";
  return out.str();
}

std::string SimConsole::Execute(const std::string& line) {
  std::vector<std::string> words;
  {
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(Lower(word));
  }
  if (words.empty() || words[0][0] == '#') return "";
  const std::string& verb = words[0];
  const size_t n = words.size();
  const int device = n > 1 ? DeviceNumber(words[1]) : -1;
  const bool amp_named = device >= 1;
  SimAmplifier* amp = amp_named ? &installation_.amplifier(device - 1) : nullptr;

  if (verb == "help" && n == 1) return std::string(kHelp) + "\nok";
  if (verb == "status" && n == 1) return Status();
  if (verb == "quit" && n == 1) {
    quit = true;
    return "ok";
  }
  if (verb == "log" && n == 2 && OnOff(words[1]) >= 0) {
    log_frames = OnOff(words[1]) == 1;
    return "ok";
  }
  if (verb == "fault") {
    if (n < 3 || n > 4 || !amp_named) return Error("usage: fault A|B|C FAULT [sticky]");
    if (n == 4 && words[3] != "sticky") return Error("usage: fault A|B|C FAULT [sticky]");
    for (const FaultName& entry : kFaultNames) {
      if (words[2] == entry.name) {
        amp->InjectFault(entry.fault, n == 4);
        installation_.AdvanceTo(installation_.now_ms());  // let automatic redundancy act
        return "ok";
      }
    }
    return Error("no fault called '" + words[2] + "' (see help)");
  }
  if (verb == "clear") {
    if (n != 2 || !amp_named) return Error("usage: clear A|B|C");
    amp->ClearFaults();
    return "ok";
  }
  if (verb == "alarm" || verb == "rf" || verb == "autohv") {
    if (n != 3 || !amp_named || OnOff(words[2]) < 0)
      return Error("usage: " + verb + " A|B|C on|off");
    const bool on = OnOff(words[2]) == 1;
    if (verb == "alarm") amp->SetAlarm(on);
    if (verb == "rf") amp->SetRfInhibit(!on);
    if (verb == "autohv") amp->SetAutoHv(on);
    return "ok";
  }
  if (verb == "hv") {
    if (n != 3 || !amp_named) return Error("usage: hv A|B|C on|off|warmup");
    SimAmplifier::HighVoltage state;
    if (words[2] == "on") {
      state = SimAmplifier::HighVoltage::on;
    } else if (words[2] == "off") {
      state = SimAmplifier::HighVoltage::standby;
    } else if (words[2] == "warmup") {
      state = SimAmplifier::HighVoltage::time_delay;
    } else {
      return Error("usage: hv A|B|C on|off|warmup");
    }
    if (!amp->SetHighVoltage(state)) return Error("the amplifier is faulted");
    return "ok";
  }
  if (verb == "local" || verb == "remote") {
    if (n != 2 || device < 0) return Error("usage: " + verb + " A|B|C|ctl");
    const bool remote = verb == "remote";
    if (device == 0) {
      installation_.controller().SetLocal(!remote);
    } else {
      amp->SetRemote(remote);
    }
    return "ok";
  }
  if (verb == "mode") {
    if (n != 2 || (words[1] != "auto" && words[1] != "manual")) {
      return Error("usage: mode auto|manual");
    }
    installation_.controller().SetManual(words[1] == "manual");
    installation_.AdvanceTo(installation_.now_ms());  // let automatic redundancy act
    return "ok";
  }
  if (verb == "switch") {
    if (n != 3 || (words[1] != "1" && words[1] != "2") || (words[2] != "a" && words[2] != "b")) {
      return Error("usage: switch 1|2 A|B");
    }
    const char position = static_cast<char>(std::toupper(static_cast<unsigned char>(words[2][0])));
    installation_.controller().SetSwitch(words[1][0] - '0', position);
    return "ok";
  }
  static const struct {
    const char* verb;
    ReplyFault fault;
  } kReplyVerbs[] = {{"silent", ReplyFault::silent},
                     {"nak", ReplyFault::nak},
                     {"badcheck", ReplyFault::bad_check},
                     {"cut", ReplyFault::cut_short},
                     {"normal", ReplyFault::none}};
  for (const auto& entry : kReplyVerbs) {
    if (verb != entry.verb) continue;
    const bool counted = entry.fault != ReplyFault::none;
    const std::string usage =
        std::string("usage: ") + entry.verb + (counted ? " A|B|C|ctl [N]" : " A|B|C|ctl");
    if (n < 2 || n > (counted ? 3u : 2u) || device < 0) return Error(usage);
    int count = 0;
    if (n == 3) {
      count = Count(words[2], kMaxCount);
      if (count < 0) return Error(usage);
    }
    installation_.reply_faults().Set(device, entry.fault, count);
    return "ok";
  }
  if (verb == "noise") {
    const int count = n == 2 ? Count(words[1], kMaxNoise) : -1;
    if (count < 0) return Error("usage: noise N (1.." + std::to_string(kMaxNoise) + ")");
    installation_.AddNoise(count);
    return "ok";
  }
  return Error("unknown command '" + verb + "' (try help)");
}

}  // namespace onefortwo
