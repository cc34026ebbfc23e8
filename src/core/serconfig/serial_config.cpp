#include "serconfig/serial_config.h"

#include <cctype>
#include <cstdio>

#include "serconfig/port_list.h"

namespace onefortwo {
namespace {

bool EqualIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0' || std::toupper(static_cast<unsigned char>(a[i])) !=
                            std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return b[i] == '\0';
}

bool HasBlank(const std::string& text) {
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

const char* ParityText(int parity) {
  switch (parity) {
    case 0:
      return "NONE";
    case 1:
      return "ODD";
    case 2:
      return "EVEN";
    default:
      return "";
  }
}

}  // namespace

SerialConfigDialog::SerialConfigDialog(SerialLink& link, const std::vector<std::string>& devices)
    : link_(link) {
  link_.InitBaudTable();
  lists_.port = SerialPortList(devices);
  for (const baud_struct& row : link_.baud_table) {
    lists_.baud.push_back(row.string);
    if (row.baud == link_.serial_baud) initial_.baud = row.string;
  }
  lists_.data = {"7", "8"};
  lists_.stop = {"1", "2"};
  lists_.parity = {"EVEN", "NONE", "ODD"};

  initial_.port = link_.serial_port;
  initial_.data = link_.serial_data == 8 ? "8" : "7";
  initial_.stop = link_.serial_stop == 2 ? "2" : "1";
  initial_.parity = ParityText(link_.serial_parity);
}

SerialConfigDialog::Outcome SerialConfigDialog::Ok(const SerialConfigFields& texts) {
  Outcome outcome;
  outcome.caption = "Problem";
  char message[160];
  // A refused name changes nothing: the old port stays open and polling goes on.
  if (texts.port.size() > static_cast<size_t>(kMaxPortNameLength)) {
    std::snprintf(message, sizeof message,
                  "The port name is %zu characters long; a port name may have at most %d.",
                  texts.port.size(), kMaxPortNameLength);
    outcome.message = message;
    return outcome;
  }
  if (HasBlank(texts.port)) {
    outcome.message = "A port name cannot contain blanks.";
    return outcome;
  }
  if (texts.port.empty()) {
    outcome.message = "Can't open Com Port .";
    return outcome;
  }

  link_.SetSerialPort(texts.port.c_str());
  for (const baud_struct& row : link_.baud_table) {
    if (EqualIgnoringCase(texts.baud, row.string)) {
      link_.serial_baud = row.baud;
      break;
    }
  }
  link_.serial_data = texts.data == "7" ? 7 : 8;
  link_.serial_stop = texts.stop == "2" ? 2 : 0;
  link_.serial_parity = EqualIgnoringCase(texts.parity, "EVEN")  ? 2
                        : EqualIgnoringCase(texts.parity, "ODD") ? 1
                                                                 : 0;

  if (link_.InitSerial() == 0) {
    std::snprintf(message, sizeof message, "Can't open Com Port %s.", link_.serial_port);
    outcome.message = message;
    std::string why = link_.refused_settings()
                          ? std::string("The port opened but refused these settings.")
                          : std::string(OpenErrorText(link_.last_open_error()));
    why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
    if (why.back() != '.') why += '.';
    outcome.detail = why;
    return outcome;
  }
  outcome.caption.clear();
  outcome.saved = link_.SaveSerialDefaults();
  outcome.close = true;
  return outcome;
}

}  // namespace onefortwo
