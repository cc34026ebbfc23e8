#include "sim/sim_installation.h"

#include <gtest/gtest.h>

#include <random>

#include "shell/station.h"
#include "support/fake_serial_device.h"

namespace onefortwo {
namespace {

const std::string kControllerStatus = "1C@@D";  // automatic, switch 1 A, remote; switch 2 A
const std::string kStandbyStatus = "?L@@@10.000.000.000.025.000.0";

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class InstallationTest : public ::testing::Test {
 protected:
  // Everything the devices send by `until_ms`.
  Bytes Drain(double until_ms) {
    Bytes out;
    uint8_t buffer[256];
    size_t got;
    while ((got = line.TakeReady(until_ms, buffer, sizeof buffer)) > 0) {
      out.insert(out.end(), buffer, buffer + got);
    }
    return out;
  }
  // Puts `bytes` on the line, all arrived at the present time, and returns what comes
  // back within a second (when the time has moved on by that second).
  Bytes Exchange(const Bytes& bytes) {
    for (uint8_t byte : bytes) line.Receive(byte, now);
    now += 1000;
    return Drain(now);
  }

  SimInstallation line;
  double now = 100;
};

TEST_F(InstallationTest, AnswersByAddressAndCheckByte) {
  Bytes spoilt = CommandFrame(65, "?13AIPQTV");
  spoilt.back() ^= 0x01;
  const struct {
    const char* name;
    Bytes in;
    Bytes out;
  } rows[] = {
      {"controller status", CommandFrame(64, "1"), AckFrame(64, kControllerStatus)},
      {"status of A", CommandFrame(65, "?13AIPQTV"), AckFrame(65, kStandbyStatus)},
      {"status of C", CommandFrame(67, "?13AIPQTV"), AckFrame(67, kStandbyStatus)},
      {"wrong check byte", spoilt, {}},
      {"address 68", CommandFrame(68, "?13AIPQTV"), {}},
      {"address 63", CommandFrame(63, "1"), {}},
      {"no address", {0x02, 0x03, 0x01}, {}},
      {"unknown text", CommandFrame(66, "XYZ"), ReplyFrame(NAK, 66, "XYZ")},
      {"empty text", CommandFrame(64, ""), ReplyFrame(NAK, 64, "")},
      {"amplifier command to the controller", CommandFrame(64, "@"), ReplyFrame(NAK, 64, "@")},
      {"check byte that is an STX", CommandFrame(64, "C"), ReplyFrame(NAK, 64, "C")},
      {"noise before the frame", Join({0x55, 0x03, 0x06, 0x41}, CommandFrame(64, "1")),
       AckFrame(64, kControllerStatus)},
      {"frame started again by STX", Join({0x02, 0x41, '?', '1'}, CommandFrame(64, "1")),
       AckFrame(64, kControllerStatus)},
  };
  ASSERT_EQ(0x02, CommandFrame(64, "C").back());
  for (const auto& row : rows) EXPECT_EQ(Hex(row.out), Hex(Exchange(row.in))) << row.name;
}

TEST_F(InstallationTest, EveryCommandOfTheStationIsObeyedAndEchoed) {
  const struct {
    uint8_t address;
    const char* text;
  } rows[] = {
      {65, "@"},     {66, "A"},     {67, "I"},     {65, "J"},     {66, "B"},
      {67, "H"},     {65, "E0500"}, {66, "D27.0"}, {67, "D 5.0"}, {65, "D-3.3"},
      {66, "K10.0"}, {67, "G1000"}, {65, "F30.0"}, {64, "B1A"},   {64, "B1B"},
      {64, "B2A"},   {64, "B2B"},   {64, "60"},    {64, "61"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Hex(AckFrame(row.address, row.text)),
              Hex(Exchange(CommandFrame(row.address, row.text))))
        << row.text;
  }
  EXPECT_TRUE(line.controller().waveguide1() == 'B' && line.controller().waveguide2() == 'B');
  EXPECT_FALSE(line.controller().manual());
  EXPECT_TRUE(line.amplifier(1).high_voltage() == SimAmplifier::HighVoltage::standby);  // "A"
  EXPECT_TRUE(line.amplifier(2).rf_inhibit());                                          // "I"
  EXPECT_TRUE(line.amplifier(0).constant());                                            // "F30.0"
}

TEST(LineTimingTest, BitsOfAByteFollowTheFormat) {
  const struct {
    int data, parity, stop, bits;
  } rows[] = {{8, 0, 0, 10}, {7, 2, 0, 10}, {8, 2, 0, 11},
              {8, 0, 2, 11}, {7, 1, 2, 11}, {5, 0, 0, 7}};
  for (const auto& row : rows) {
    LineTiming timing;
    LineSettings settings;
    settings.baud = 9600;
    settings.data_bits = row.data;
    settings.parity_code = row.parity;
    settings.stop_code = row.stop;
    ASSERT_TRUE(timing.Configure(settings));
    EXPECT_EQ(row.bits, timing.bits_per_byte());
    EXPECT_DOUBLE_EQ(row.bits * 1000.0 / 9600, timing.byte_ms());
  }
  const LineSettings refused[] = {
      {0, 8, 0, 0}, {9600, 9, 0, 0}, {9600, 4, 0, 0}, {9600, 8, 1, 0}, {9600, 8, 0, 3}};
  for (const LineSettings& settings : refused) {
    LineTiming timing;
    EXPECT_FALSE(timing.Configure(settings)) << settings.baud << " " << settings.data_bits;
    EXPECT_EQ(9600, timing.baud());
    EXPECT_EQ(10, timing.bits_per_byte());
  }
}

TEST_F(InstallationTest, ReplyBytesComeAfterTheTurnaroundAtTheLinesPace) {
  const struct {
    int baud;
    int parity;
  } rows[] = {{9600, 0}, {115200, 0}, {1200, 0}, {9600, 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.baud);
    SimInstallation installation;
    LineSettings settings;
    settings.baud = row.baud;
    settings.parity_code = row.parity;
    ASSERT_TRUE(installation.ConfigureLine(settings));
    const double byte_ms = installation.timing().byte_ms();
    for (uint8_t byte : CommandFrame(64, "1")) installation.Receive(byte, 50.0);
    const double first = 50.0 + installation.options().turnaround_ms + byte_ms;
    uint8_t buffer[64];
    EXPECT_EQ(0u, installation.TakeReady(first - 0.001, buffer, sizeof buffer));
    EXPECT_EQ(1u, installation.TakeReady(first, buffer, sizeof buffer));
    EXPECT_EQ(ACK, buffer[0]);
    EXPECT_EQ(7u, installation.TakeReady(first + 8 * byte_ms - 0.001, buffer, sizeof buffer));
    EXPECT_EQ(1u, installation.TakeReady(first + 8 * byte_ms, buffer, sizeof buffer));
    EXPECT_EQ(AckFrame(64, kControllerStatus).back(), buffer[0]);
  }
}

TEST_F(InstallationTest, RepliesFollowEachOtherWithoutOverlap) {
  for (uint8_t byte : Join(CommandFrame(65, "?13AIPQTV"), CommandFrame(64, "1"))) {
    line.Receive(byte, 0.0);
  }
  const double byte_ms = line.timing().byte_ms();
  const double a_done = line.options().turnaround_ms + 33 * byte_ms;
  EXPECT_EQ(33u, Drain(a_done + byte_ms - 0.001).size());
  EXPECT_EQ(Hex(AckFrame(64, kControllerStatus)), Hex(Drain(a_done + 9 * byte_ms)));
}

TEST_F(InstallationTest, ReplyFaultsSpoilOrWithholdTheReply) {
  const Bytes command = CommandFrame(65, "@");
  Bytes bad_check = AckFrame(65, "@");
  bad_check.back() ^= 0xFF;
  const Bytes half(bad_check.begin(), bad_check.begin() + 2);
  const struct {
    ReplyFault fault;
    Bytes reply;
    bool obeyed;
  } rows[] = {
      {ReplyFault::none, AckFrame(65, "@"), true},
      {ReplyFault::silent, {}, false},
      {ReplyFault::nak, ReplyFrame(NAK, 65, "@"), false},
      {ReplyFault::bad_check, bad_check, true},
      {ReplyFault::cut_short, half, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(ReplyFaultName(row.fault));
    SimInstallation installation;
    installation.reply_faults().Set(1, row.fault, 0);
    for (uint8_t byte : command) installation.Receive(byte, 0.0);
    uint8_t buffer[64];
    const size_t got = installation.TakeReady(1000, buffer, sizeof buffer);
    EXPECT_EQ(Hex(row.reply), Hex(Bytes(buffer, buffer + got)));
    EXPECT_EQ(row.obeyed,
              installation.amplifier(0).high_voltage() != SimAmplifier::HighVoltage::standby);
  }
}

TEST_F(InstallationTest, CountedFaultsEndByThemselvesAndNormalEndsAnyFault) {
  line.reply_faults().Set(0, ReplyFault::nak, 2);
  EXPECT_EQ(Hex(ReplyFrame(NAK, 64, "1")), Hex(Exchange(CommandFrame(64, "1"))));
  EXPECT_EQ(1, line.reply_faults().remaining(0));
  EXPECT_EQ(Hex(ReplyFrame(NAK, 64, "1")), Hex(Exchange(CommandFrame(64, "1"))));
  EXPECT_EQ(Hex(AckFrame(64, kControllerStatus)), Hex(Exchange(CommandFrame(64, "1"))));

  line.reply_faults().Set(2, ReplyFault::silent, 0);
  EXPECT_EQ("", Hex(Exchange(CommandFrame(66, "?13AIPQTV"))));
  EXPECT_EQ("", Hex(Exchange(CommandFrame(66, "?13AIPQTV"))));
  EXPECT_EQ(-1, line.reply_faults().remaining(2));
  line.reply_faults().Set(2, ReplyFault::none, 5);
  EXPECT_EQ(Hex(AckFrame(66, kStandbyStatus)), Hex(Exchange(CommandFrame(66, "?13AIPQTV"))));
  EXPECT_FALSE(line.reply_faults().Set(4, ReplyFault::nak, 1));
}

TEST_F(InstallationTest, NoiseIsRandomBytesRepeatableBySeed) {
  SimOptions options;
  options.noise_seed = 7;
  SimInstallation first(options), second(options);
  for (SimInstallation* installation : {&first, &second}) {
    installation->AdvanceTo(0);
    installation->AddNoise(50);
  }
  uint8_t a[64], b[64];
  const double byte_ms = first.timing().byte_ms();
  EXPECT_EQ(49u, first.TakeReady(50 * byte_ms - 0.001, a, sizeof a));
  EXPECT_EQ(1u, first.TakeReady(50 * byte_ms, a + 49, sizeof a - 49));
  ASSERT_EQ(50u, second.TakeReady(1000, b, sizeof b));
  EXPECT_EQ(Hex(Bytes(a, a + 50)), Hex(Bytes(b, b + 50)));
}

TEST_F(InstallationTest, NoiseFallsAmongTheBytesOfAReplyInFlight) {
  for (uint8_t byte : CommandFrame(64, "1")) line.Receive(byte, 0.0);
  line.AdvanceTo(0.0);
  line.AddNoise(20);  // 20 bytes from now: the reply starts after the turnaround
  const Bytes heard = Drain(1000);
  ASSERT_EQ(29u, heard.size());
  const Bytes reply = AckFrame(64, kControllerStatus);
  // Time order: the reply's bytes are not all together at the end any more.
  EXPECT_NE(Hex(reply), Hex(Bytes(heard.end() - 9, heard.end())));
}

TEST_F(InstallationTest, AutomaticModeSwitchesRoundAFaultedAmplifier) {
  line.controller().SetManual(true);
  line.amplifier(0).InjectFault(fault_over_temp, false);
  line.AdvanceTo(now);
  EXPECT_EQ('A', line.controller().waveguide1());  // manual: the operator decides
  // "61" answers with its echo; the next status already shows switch 1 in B.
  EXPECT_EQ(Hex(AckFrame(64, "61")), Hex(Exchange(CommandFrame(64, "61"))));
  EXPECT_EQ(Hex(AckFrame(64, "1A@@D")), Hex(Exchange(CommandFrame(64, "1"))));
  // A fault reset does not put A back: automatic mode does not switch a healthy amplifier in.
  Exchange(CommandFrame(65, "B"));
  EXPECT_EQ('B', line.controller().waveguide1());
}

TEST_F(InstallationTest, WhateverComesOnTheLineRepliesAreWellFormed) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> any_byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 2000; ++round) {
    Bytes in;
    if (round % 2 == 0) {
      for (int i = length(random); i > 0; --i) in.push_back(static_cast<uint8_t>(any_byte(random)));
    } else {
      std::string text;
      for (int i = length(random); i > 0; --i) text += static_cast<char>(any_byte(random));
      in = CommandFrame(static_cast<uint8_t>(63 + round % 6), text);
    }
    const Bytes out = Exchange(in);
    // Whole frames only: ACK or NAK, a device's address, ETX, a correct check byte.
    if (out.empty()) continue;
    ASSERT_GE(out.size(), 4u);
    EXPECT_TRUE(out[0] == ACK || out[0] == NAK);
    EXPECT_TRUE(out[1] >= 64 && out[1] <= 67);
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < out.size(); ++i) sum ^= out[i];
    EXPECT_EQ(sum, out.back()) << Hex(in);
  }
}

TEST_F(InstallationTest, BytesNobodyReadsAreLimitedLikeADriversBuffer) {
  const Bytes query = CommandFrame(65, "?13AIPQTV");
  for (int i = 0; i < 2000; ++i) {
    for (uint8_t byte : query) line.Receive(byte, now);
    now += 50;
    line.AdvanceTo(now);
  }
  const Bytes all = Drain(now + 1e6);
  EXPECT_LE(all.size(), SimInstallation::kMaxQueuedBytes);
  EXPECT_GT(all.size(), SimInstallation::kMaxQueuedBytes - 33);
  EXPECT_EQ(0u, all.size() % 33);  // whole replies: a reply that does not fit is lost whole
}

}  // namespace
}  // namespace onefortwo
