#pragma once

#include <string>
#include <vector>

#include "events/station_events.h"
#include "journal/journal_entry.h"

namespace onefortwo {

// The journal's rows for the station's events, in words a person reads on the morning
// shift: device, kind and text; the time and the user are the recorder's to fill in.
// "High Voltage", "Standby", ...: the state names the panels show.
const char* AmpStateName(amp_enum state);

EventEntry StationStartedEntry(const std::string& version);
EventEntry StationEndedEntry();
// `kind` is one of "port opened", "port closed", "port refused", "port lost",
// "port restored": "Port COM2 (9600 8N1) lost: the device hung up".
EventEntry PortEntry(const char* kind, const PortEvent& port);
EventEntry ContactLostEntry(int device, const std::string& reason);
EventEntry ContactRestoredEntry(int device);
EventEntry StateChangedEntry(int amp, amp_enum from, amp_enum to);
EventEntry FaultRaisedEntry(int amp, fault_enum fault);
EventEntry FaultClearedEntry(int amp, fault_enum fault);
EventEntry AlarmAcknowledgedEntry(int amp);
EventEntry FaultResetEntry(int amp);
// "Sent "@" after "Turn High Voltage ON?"", or "Not sent (no open port): ...".
EventEntry CommandEntry(const CommandEvent& command);
// One row for each thing that changed: the redundancy mode, local/remote control, and
// each waveguide switch that moved, the latter two marked commanded from this station or
// made by the controller itself.
std::vector<EventEntry> ControllerChangeEntries(const ControllerChange& change);

}  // namespace onefortwo
