#include "shell/link_status.h"

#include "shell/station.h"

namespace onefortwo {

std::string SettingsText(const LineSettings& settings) {
  const char parity = settings.parity_code == 1 ? 'O' : settings.parity_code == 2 ? 'E' : 'N';
  return std::to_string(settings.baud) + " " + std::to_string(settings.data_bits) + parity +
         (settings.stop_code == 2 ? "2" : "1");
}

namespace {

// "COM2 9600 8N1", or "SIM (simulated installation)".
std::string PortName(const PortEvent& port) {
  if (port.simulated) return port.port + " (simulated installation)";
  // A terminal server holds the line settings itself: the station's do nothing there.
  if (port.port.compare(0, 4, "tcp:") == 0 || port.port.compare(0, 4, "TCP:") == 0)
    return port.port;
  return port.port + " " + SettingsText(port.settings);
}

}  // namespace

LinkStatus::LinkStatus(StatusDisplay& display) : display_(display) {
  Show("No port open", true);
}

void LinkStatus::Show(const std::string& text, bool trouble) {
  text_ = text;
  trouble_ = trouble;
  display_.ShowStatus(StatusField::link, text, trouble);
}

void LinkStatus::PortOpened(const PortEvent& port) { Show(PortName(port) + ": open", false); }

void LinkStatus::PortRefused(const PortEvent& port) {
  Show((port.port.empty() ? std::string("No port") : port.port) + ": " + port.reason, true);
}

void LinkStatus::PortClosed(const PortEvent& port) {
  Show(port.port + ": closed (" + port.reason + ")", true);
}

void LinkStatus::PortLost(const PortEvent& port) {
  const int every_s = static_cast<int>(kReopenIntervalMs / 1000);
  Show(port.port + ": lost (" + port.reason + "); opening it again every " +
           std::to_string(every_s) + " s",
       true);
}

void LinkStatus::PortRestored(const PortEvent& port) {
  Show(PortName(port) + ": open again", false);
}

}  // namespace onefortwo
