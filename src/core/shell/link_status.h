#pragma once

#include <string>

#include "events/station_events.h"
#include "platform/status_display.h"

namespace onefortwo {

// The serial link's state in words, for the status bar: which port, whether it is open,
// and why not. Follows the port's events and tells each change to the status display.
class LinkStatus : public StationEvents {
 public:
  explicit LinkStatus(StatusDisplay& display);

  void PortOpened(const PortEvent& port) override;
  void PortRefused(const PortEvent& port) override;
  void PortClosed(const PortEvent& port) override;
  void PortLost(const PortEvent& port) override;
  void PortRestored(const PortEvent& port) override;

  const std::string& text() const { return text_; }
  bool trouble() const { return trouble_; }

 private:
  void Show(const std::string& text, bool trouble);

  StatusDisplay& display_;
  std::string text_;
  bool trouble_ = true;
};

// "9600 8N1", "115200 7E2": the rate and the character format of `settings`.
std::string SettingsText(const LineSettings& settings);

}  // namespace onefortwo
