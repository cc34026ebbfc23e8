#include "sim/sim_controller.h"

#include <gtest/gtest.h>

#include "controller/controller.h"
#include "shell/station.h"
#include "sim/redundancy.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

TEST(Redundancy, RouteOfEachSwitchPair) {
  // The same pairs the diagram colours: signal 1 (output 1) and signal 2 (output 2).
  const struct {
    char one, two;
    int output1, output2, spare;
  } rows[] = {{'A', 'A', 0, 1, 2}, {'A', 'B', 0, 2, 1}, {'B', 'A', 2, 1, 0}, {'B', 'B', 1, 2, 0}};
  for (const auto& row : rows) {
    const Route route = RouteFor(row.one, row.two);
    EXPECT_EQ(row.output1, route.output1) << row.one << row.two;
    EXPECT_EQ(row.output2, route.output2) << row.one << row.two;
    EXPECT_EQ(row.spare, route.spare) << row.one << row.two;
  }
}

TEST(Redundancy, SpareTakesTheFaultedAmplifiersPlace) {
  const struct {
    const char* name;
    char one, two;
    bool a, b, c;        // faulted
    const char* expect;  // new positions, or "" for none
  } rows[] = {
      {"nothing faulted", 'A', 'A', false, false, false, ""},
      {"spare faulted", 'A', 'A', false, false, true, ""},
      {"A on output 1", 'A', 'A', true, false, false, "BA"},
      {"B on output 2", 'A', 'A', false, true, false, "AB"},
      {"A and the spare C", 'A', 'A', true, false, true, ""},
      {"A and B, only C healthy", 'A', 'A', true, true, false, ""},
      {"A on output 1, B spare", 'A', 'B', true, false, false, "BB"},
      {"C on output 2, B spare", 'A', 'B', false, false, true, "AA"},
      {"C on output 1, A spare", 'B', 'A', false, false, true, "AA"},
      {"B on output 2, A spare: both switches", 'B', 'A', false, true, false, "AB"},
      {"B on output 1, A spare", 'B', 'B', false, true, false, "AB"},
      {"C on output 2, A spare: both switches", 'B', 'B', false, false, true, "AA"},
  };
  for (const auto& row : rows) {
    const bool faulted[3] = {row.a, row.b, row.c};
    char one = '?', two = '?';
    const bool moved = RedundantPositions(row.one, row.two, faulted, &one, &two);
    EXPECT_EQ(row.expect[0] != '\0', moved) << row.name;
    if (moved) {
      EXPECT_EQ(row.expect, std::string() + one + two) << row.name;
    }
  }
}

TEST(SimController, StatusBytesAsTheStationReadsThem) {
  for (int combination = 0; combination < 16; ++combination) {
    SimController controller;
    controller.SetManual(combination & 1);
    controller.SetLocal(combination & 2);
    controller.SetSwitch(1, (combination & 4) ? 'B' : 'A');
    controller.SetSwitch(2, (combination & 8) ? 'B' : 'A');
    const std::string text = controller.StatusText();
    ASSERT_EQ(5u, text.size());
    EXPECT_EQ('1', text[0]);
    for (char c : text.substr(1)) {
      EXPECT_TRUE(static_cast<uint8_t>(c) >= 0x40 && static_cast<uint8_t>(c) <= 0x7F)
          << combination;
    }
    FakeWindows windows;
    ControllerState state(windows);
    const Bytes frame = AckFrame(64, text);
    state.ParseControllerResponse(reinterpret_cast<const char*>(frame.data()),
                                  static_cast<int>(frame.size()));
    EXPECT_EQ(controller.manual() ? 1 : 0, state.controller_manual) << combination;
    EXPECT_EQ(controller.local() ? 1 : 0, state.controller_local) << combination;
    EXPECT_EQ(controller.waveguide1(), state.waveguide1) << combination;
    EXPECT_EQ(controller.waveguide2(), state.waveguide2) << combination;
  }
}

TEST(SimController, CommandsThrowSwitchesAndChooseTheMode) {
  const struct {
    const char* text;
    bool ack;
    char one, two;
    bool manual;
  } rows[] = {
      {"B1B", true, 'B', 'A', false},        {"B2B", true, 'A', 'B', false},
      {"B1A", true, 'A', 'A', false},        {"60", true, 'A', 'A', true},
      {"61", true, 'A', 'A', false},         {"B3A", false, 'A', 'A', false},
      {"B1C", false, 'A', 'A', false},       {"B1", false, 'A', 'A', false},
      {"6", false, 'A', 'A', false},         {"62", false, 'A', 'A', false},
      {"?13AIPQTV", false, 'A', 'A', false}, {"", false, 'A', 'A', false},
  };
  for (const auto& row : rows) {
    SimController controller;
    const DeviceAnswer answer = controller.Answer(row.text);
    EXPECT_EQ(row.ack, answer.ack) << row.text;
    EXPECT_EQ(row.text, answer.text) << row.text;
    EXPECT_EQ(row.one, controller.waveguide1()) << row.text;
    EXPECT_EQ(row.two, controller.waveguide2()) << row.text;
    EXPECT_EQ(row.manual, controller.manual()) << row.text;
  }
}

TEST(SimController, LocalControlRefusesEverythingButTheStatusQuery) {
  SimController controller;
  controller.SetLocal(true);
  for (const char* text : {"B1B", "B2B", "60", "61"}) EXPECT_FALSE(controller.Answer(text).ack);
  EXPECT_EQ('A', controller.waveguide1());
  EXPECT_EQ('A', controller.waveguide2());
  EXPECT_FALSE(controller.manual());
  EXPECT_TRUE(controller.Answer(kControllerQuery).ack);
}

TEST(SimController, SwitchesOnlyInAutomaticMode) {
  const bool a_faulted[3] = {true, false, false};
  SimController controller;
  controller.SetManual(true);
  EXPECT_FALSE(controller.ApplyAutomaticRedundancy(a_faulted));
  EXPECT_EQ('A', controller.waveguide1());
  controller.SetManual(false);
  EXPECT_TRUE(controller.ApplyAutomaticRedundancy(a_faulted));
  EXPECT_EQ('B', controller.waveguide1());
  EXPECT_EQ('A', controller.waveguide2());
  EXPECT_FALSE(controller.ApplyAutomaticRedundancy(a_faulted));  // A is the spare now
  // Local control is the operator's hand on the panel, not on the automatic switching.
  controller.SetLocal(true);
  const bool b_faulted[3] = {false, true, false};
  EXPECT_TRUE(controller.ApplyAutomaticRedundancy(b_faulted));
}

}  // namespace
}  // namespace onefortwo
