// The station on a real pseudo-terminal, with the test playing the installation.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "posix_serial_device.h"
#include "shell/station.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_windows.h"
#include "support/pty_pair.h"

namespace onefortwo {
namespace {

TEST(PtyStation, FirstRotationOnTheWireAndTheRecordsItProduces) {
  PtyPair pty;
  if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminals on this machine";
  PosixSerialPortOpener opener;
  FakeClock clock;
  FakeWindows windows;
  Station station(opener, clock, windows);
  ASSERT_GT(pty.slave_path().size(), 9u);
  ASSERT_TRUE(station.link.SetSerialPort(pty.slave_path().c_str()));
  ASSERT_EQ(1, station.link.InitSerial()) << OpenErrorText(station.link.last_open_error());
  for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);

  AmpReply a, b, c;
  b.state1 = 0x08 | 0x01;  // standby, RF inhibited
  b.forward = "47.0";
  c.state2 = 0x20;  // faulted: over voltage
  c.fault1 = 0x04;
  c.forward = "29.9";
  const struct {
    const char* query_hex;
    Bytes reply;
  } rotation[] = {
      {"02 41 3F 31 33 41 49 50 51 54 56 03 76", AckFrame(65, a.Text())},
      {"02 42 3F 31 33 41 49 50 51 54 56 03 75", AckFrame(66, b.Text())},
      {"02 43 3F 31 33 41 49 50 51 54 56 03 74", AckFrame(67, c.Text())},
      {"02 40 31 03 70", AckFrame(64, std::string("1\x12\0\0\x00", 5))},
  };

  // Four ticks until the reply time-out first runs out and amplifier A is asked.
  for (int tick = 0; tick < 4; ++tick) {
    clock.AdvanceMs(56);
    station.Poll(0);
  }
  for (const auto& step : rotation) {
    const size_t length = (std::strlen(step.query_hex) + 1) / 3;
    const Bytes query = pty.Read(length, 2000);
    ASSERT_EQ(step.query_hex, Hex(query));
    pty.Write(step.reply);
    // The clock stands still, so no time-out runs out: the station looks for the reply
    // until it has taken it in and sent the next query.
    const int asked = query[1];
    for (int wait = 0; wait < 2000 && station.link.response_pending == asked; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      station.Poll(0);
    }
    ASSERT_NE(asked, station.link.response_pending) << "reply not taken in";
  }
  EXPECT_EQ("02 41 3F 31 33 41 49 50 51 54 56 03 76", Hex(pty.Read(13, 2000)));

  const amp_struct* info = station.amps.amp_info;
  EXPECT_EQ(amp_hv_on, info[0].status);
  EXPECT_STREQ("1000", info[0].power_out);
  EXPECT_STREQ("  50", info[0].power_back);
  EXPECT_EQ(amp_standby, info[1].status);
  EXPECT_EQ(1, info[1].rf_inhibit);
  EXPECT_STREQ("50", info[1].power_out);
  EXPECT_EQ(amp_fault, info[2].status);
  EXPECT_EQ(fault_over_volt, info[2].fault_status);
  EXPECT_STREQ("0", info[2].power_out);
  EXPECT_TRUE(windows.fault_open[2]);
  EXPECT_EQ(1, station.amps.audio_enabled[2]);
  EXPECT_EQ(1, station.controller.controller_manual);
  EXPECT_EQ(65, station.controller.waveguide1);
  EXPECT_EQ(66, station.controller.waveguide2);
  EXPECT_EQ(1, station.controller.controller_local);
  EXPECT_EQ(0, station.error_count[0] + station.error_count[1] + station.error_count[2] +
                   station.error_count[3]);
}

}  // namespace
}  // namespace onefortwo
