#include "shell/station_lifecycle.h"

#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "support/scripted_prompter.h"
#include "support/station_fixture.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

class StartStationTest : public ::testing::Test {
 protected:
  // The temporary folder as the working directory reports it: no separator at the end.
  std::string WorkingDirectory() const { return dir.path().substr(0, dir.path().size() - 1); }

  TempDir dir;
  FakeOpener opener;
  FakeClock clock;
  FakeWindows windows;
  Station station{opener, clock, windows};
};

TEST_F(StartStationTest, OpensThePortSavedInTheWorkingDirectory) {
  dir.Write("sdefault.txt", "COM1 19200 E 7 2");
  const std::shared_ptr<FakeLine> com1 = opener.Add("COM1");
  station.amps.amp_info[1].status = amp_hv_on;

  EXPECT_TRUE(StartStation(station, WorkingDirectory()));
  EXPECT_EQ(dir.path(), station.link.save_directory);
  EXPECT_EQ(std::vector<std::string>{"COM1"}, opener.opened);
  EXPECT_EQ(19200, com1->configured.baud);
  EXPECT_EQ(7, com1->configured.data_bits);
  EXPECT_EQ(2, com1->configured.parity_code);
  EXPECT_EQ(2, com1->configured.stop_code);
  for (int amp = 0; amp < kAmpCount; ++amp) {
    EXPECT_EQ(amp_no_contact, station.amps.amp_info[amp].status) << amp;
    EXPECT_EQ(1, station.amps.amp_info[amp].redisplay) << amp;
  }
}

TEST_F(StartStationTest, WithoutAFileTriesCom2AndReportsThePortClosed) {
  opener.Add("COM1");
  EXPECT_FALSE(StartStation(station, dir.path()));  // a separator already at the end
  EXPECT_EQ(dir.path(), station.link.save_directory);
  EXPECT_EQ(std::vector<std::string>{"COM2"}, opener.opened);
  EXPECT_FALSE(station.link.PortOpen());
  EXPECT_TRUE(windows.log.empty()) << "no message at start: the dialog words it";
}

TEST_F(StartStationTest, AFileWhoseNameDoesNotFitOpensNoPortAndTellsWhy) {
  dir.Write("sdefault.txt", "/dev/serial/by-id/" + std::string(70, 'x') + " 9600 N 8 1");
  opener.Add("COM2");
  EXPECT_FALSE(StartStation(station, dir.path()));
  EXPECT_TRUE(opener.opened.empty()) << "not COM2, nor any port the operator never named";
  EXPECT_EQ(std::vector<std::string>{"message Problem: sdefault.txt names a port of 88 "
                                     "characters; a port name may have at most 63. Choose the "
                                     "port in the dialog that follows."},
            windows.log);
}

class ConfirmExitTest : public StationTest {
 protected:
  ScriptedPrompter prompter;
};

TEST_F(ConfirmExitTest, NoKeepsThePortOpenAndYesClosesIt) {
  prompter.answers = {false, true};
  EXPECT_FALSE(ConfirmExit(station, prompter));
  EXPECT_TRUE(station.link.PortOpen());
  EXPECT_TRUE(ConfirmExit(station, prompter));
  EXPECT_FALSE(station.link.PortOpen());
  EXPECT_EQ((std::vector<std::string>{"Confirm: Exit 1:2 M&C?", "Confirm: Exit 1:2 M&C?"}),
            prompter.asked);
}

}  // namespace
}  // namespace onefortwo
