#pragma once

#include <string>

namespace onefortwo {

// The parts of the main window's status bar, left to right: the serial link, the journal,
// the SNMP agent.
enum class StatusField { link, journal, agent };

// Where the station's features say how they are, without opening a dialog. Each field
// shows the last text given for it; `trouble` marks a state the operator should look at
// (the port lost, the journal off). May be called from any thread: the GUI implementation
// hands the text to the user-interface thread.
class StatusDisplay {
 public:
  virtual ~StatusDisplay() = default;
  virtual void ShowStatus(StatusField field, const std::string& text, bool trouble) = 0;
};

}  // namespace onefortwo
