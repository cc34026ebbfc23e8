#pragma once

#include <cstdint>
#include <string>

namespace onefortwo {

// The text of an amplifier's status reply: "?", two state bytes, two fault bytes, then
// attenuation, helix current, forward dBm, reverse dBm, temperature, helix voltage.
struct AmpReply {
  uint8_t state1 = 0x10;  // high voltage on
  uint8_t state2 = 0x00;
  uint8_t fault1 = 0x00;
  uint8_t fault2 = 0x00;
  std::string attenuation = "10.0";
  std::string current = "12.5";
  std::string forward = "60.0";
  std::string reverse = "47.0";
  std::string temp = "45.0";
  std::string voltage = "10.2";

  std::string Text() const {
    std::string text = "?";
    text += static_cast<char>(state1);
    text += static_cast<char>(state2);
    text += static_cast<char>(fault1);
    text += static_cast<char>(fault2);
    for (const std::string* field : {&attenuation, &current, &forward, &reverse, &temp, &voltage})
      text += field->substr(0, 4) + std::string(4 - std::min<size_t>(4, field->size()), ' ');
    return text;
  }
};

}  // namespace onefortwo
