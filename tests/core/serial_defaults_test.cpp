#include <gtest/gtest.h>

#include <string>

#include "support/station_fixture.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

class SerialDefaultsTest : public StationTest {
 protected:
  SerialDefaultsTest() { station.link.save_directory = dir.path(); }
  TempDir dir;
  SerialLink& link = station.link;
};

struct Settings {
  std::string port;
  int baud, parity, data, stop;
};

Settings Of(const SerialLink& link) {
  return {link.serial_port, link.serial_baud, link.serial_parity, link.serial_data,
          link.serial_stop};
}

void ExpectSettings(const Settings& want, const SerialLink& link, const std::string& label) {
  const Settings got = Of(link);
  EXPECT_EQ(want.port, got.port) << label;
  EXPECT_EQ(want.baud, got.baud) << label;
  EXPECT_EQ(want.parity, got.parity) << label;
  EXPECT_EQ(want.data, got.data) << label;
  EXPECT_EQ(want.stop, got.stop) << label;
}

TEST_F(SerialDefaultsTest, StartValuesWithoutAFile) {
  link.LoadSerialDefaults();
  ExpectSettings({"COM2", 9600, 0, 8, 0}, link, "no file");
}

TEST_F(SerialDefaultsTest, FileContentsGiveTheseSettings) {
  const Settings start = {"COM2", 9600, 0, 8, 0};
  const std::string long_name(64, 'p');
  const std::string longest_name = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BIX-if00-port0";
  ASSERT_EQ(63u, longest_name.size());
  const struct {
    const char* name;
    std::string content;
    Settings want;
  } cases[] = {
      {"even and two stop bits", "COM1 19200 E 7 2", {"COM1", 19200, 2, 7, 2}},
      {"odd", "COM3 4800 O 8 1", {"COM3", 4800, 1, 8, 0}},
      {"lower-case letters are none", "COM1 19200 e 7 2", {"COM1", 19200, 0, 7, 2}},
      {"rate outside the table is kept", "COM1 300 N 8 1", {"COM1", 300, 0, 8, 0}},
      {"nine bytes are ignored", "COM1 1200", start},
      {"empty", "", start},
      {"fields missing after the rate", "COM7 2400     ", {"COM7", 2400, 0, 8, 0}},
      {"rate not a number", "COM7 fast E 7 2", {"COM7", 9600, 0, 8, 0}},
      {"data bits not a number", "COM7 2400 E x 2", {"COM7", 2400, 2, 8, 0}},
      {"stop character missing", "COM7 2400 O 7", {"COM7", 2400, 1, 7, 0}},
      {"rate beyond an int", "COM7 99999999999999999999 E 7 2", {"COM7", 9600, 0, 8, 0}},
      {"binary bytes", std::string("\x01\x02\xff\xfe\x00\x80 19200 E 7 2", 18),
       {"\x01\x02\xff\xfe", 9600, 0, 8, 0}},
      {"NUL ends the text", std::string("COM5 1200\0 E 7 2 xxxxx", 22), {"COM5", 1200, 0, 8, 0}},
      {"port name longer than 63 names no port, the rest read", long_name + " 1200 E 7 2",
       {"", 1200, 2, 7, 2}},
      {"port name of 63 fits", longest_name + " 1200", {longest_name, 1200, 0, 8, 0}},
      {"line end after the fields", "COM1 19200 E 7 2\r\n", {"COM1", 19200, 2, 7, 2}},
  };
  for (const auto& c : cases) {
    link.SetSerialPort("COM2");
    link.serial_baud = 9600;
    link.serial_parity = 0;
    link.serial_data = 8;
    link.serial_stop = 0;
    dir.Write("sdefault.txt", c.content);
    link.LoadSerialDefaults();
    ExpectSettings(c.want, link, c.name);
  }
}

// Every name and setting the serial dialog accepts comes back after a save and a restart,
// byte for byte: the longest names (63 characters) with every rate, parity, data and stop
// bits the dialog offers.
TEST_F(SerialDefaultsTest, EverythingTheDialogAcceptsSurvivesASaveAndARestart) {
  const std::string names[] = {
      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BIX-if00-port0",
      "tcp:terminal-server-rack-07.groundstation.example.net:100011234",
      std::string(63, '\xe9'),  // a name in the desktop's 8-bit encoding
      "SIM",
  };
  int checked = 0;
  for (const std::string& name : names) {
    ASSERT_EQ(name == "SIM" ? 3u : 63u, name.size());
    for (const baud_struct& rate : link.baud_table) {
      for (int parity : {0, 1, 2}) {
        for (int data : {7, 8}) {
          for (int stop : {0, 2}) {
            ASSERT_TRUE(link.SetSerialPort(name.c_str()));
            link.serial_baud = rate.baud;
            link.serial_parity = parity;
            link.serial_data = data;
            link.serial_stop = stop;
            ASSERT_TRUE(link.SaveSerialDefaults());
            Station restarted(opener, clock, windows);
            restarted.link.save_directory = dir.path();
            restarted.link.LoadSerialDefaults();
            ExpectSettings(Of(link), restarted.link, name + " " + rate.string);
            EXPECT_TRUE(restarted.link.defaults_problem().empty());
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_EQ(4 * 8 * 3 * 2 * 2, checked);
}

TEST_F(SerialDefaultsTest, TheShortestSettingsSurviveASaveAndARestart) {
  // "/ 0 N 8 1" is 9 bytes: shorter than any file the station reads at start.
  const Settings cases[] = {
      {"/", 0, 0, 8, 0},
      {"s", 9, 2, 7, 2},
      {"/", -1, 1, 8, 0},  // 10 bytes: read as it is
  };
  for (const Settings& c : cases) {
    ASSERT_TRUE(link.SetSerialPort(c.port.c_str()));
    link.serial_baud = c.baud;
    link.serial_parity = c.parity;
    link.serial_data = c.data;
    link.serial_stop = c.stop;
    ASSERT_TRUE(link.SaveSerialDefaults());
    Station restarted(opener, clock, windows);
    restarted.link.save_directory = dir.path();
    restarted.link.LoadSerialDefaults();
    ExpectSettings(c, restarted.link, c.port + " " + std::to_string(c.baud));
  }
}

TEST_F(SerialDefaultsTest, ANameThatDoesNotFitOpensNoPortAndSaysWhy) {
  dir.Write("sdefault.txt", std::string(80, 'n') + " 19200 E 7 2");
  link.LoadSerialDefaults();
  EXPECT_STREQ("", link.serial_port);
  EXPECT_EQ("sdefault.txt names a port of 80 characters; a port name may have at most 63.",
            link.defaults_problem());
  opener.opened.clear();
  EXPECT_EQ(0, link.InitSerial());
  EXPECT_FALSE(link.PortOpen());
  EXPECT_TRUE(opener.opened.empty()) << "no port is tried in place of the one named";

  dir.Write("sdefault.txt", "COM2 9600 N 8 1");
  link.LoadSerialDefaults();
  EXPECT_TRUE(link.defaults_problem().empty());
}

TEST_F(SerialDefaultsTest, SavingAgainReplacesTheFile) {
  for (const char* name : {"COM1", "COM2", "COM3"}) {
    link.SetSerialPort(name);
    EXPECT_TRUE(link.SaveSerialDefaults()) << name;
    EXPECT_EQ(std::string(name) + " 9600 N 8 1", dir.Read("sdefault.txt"));
  }
}

TEST_F(SerialDefaultsTest, SavesTheFileByteForByte) {
  link.SaveSerialDefaults();
  EXPECT_EQ("COM2 9600 N 8 1", dir.Read("sdefault.txt"));
  EXPECT_EQ(15u, dir.Read("sdefault.txt").size());
  link.SetSerialPort("COM1");
  link.serial_baud = 19200;
  link.serial_parity = 2;
  link.serial_data = 7;
  link.serial_stop = 2;
  EXPECT_TRUE(link.SaveSerialDefaults());
  EXPECT_EQ("COM1 19200 E 7 2", dir.Read("sdefault.txt"));
  link.serial_parity = 1;
  link.serial_stop = 0;
  link.SaveSerialDefaults();
  EXPECT_EQ("COM1 19200 O 7 1", dir.Read("sdefault.txt"));
  EXPECT_FALSE(dir.Exists("sdefault.txt.new"));
}

TEST_F(SerialDefaultsTest, SavedFileReadsBackTheSame) {
  link.SetSerialPort("/dev/ttyUSB0");
  link.serial_baud = 57600;
  link.serial_parity = 1;
  link.serial_data = 7;
  link.serial_stop = 0;
  link.SaveSerialDefaults();
  link.SetSerialPort("COM2");
  link.serial_baud = 9600;
  link.serial_parity = 0;
  link.serial_data = 8;
  link.serial_stop = 2;
  link.LoadSerialDefaults();
  ExpectSettings({"/dev/ttyUSB0", 57600, 1, 7, 0}, link, "round trip");
}

TEST_F(SerialDefaultsTest, UnwritableFolderReportsFailureAndKeepsNothingHalfWritten) {
  link.save_directory = dir.path() + "missing/";
  EXPECT_FALSE(link.SaveSerialDefaults());
}

TEST_F(SerialDefaultsTest, PortNamesThatDoNotFitAreRefused) {
  EXPECT_FALSE(link.SetSerialPort(std::string(64, 'x').c_str()));
  EXPECT_FALSE(link.SetSerialPort(""));
  EXPECT_FALSE(link.SetSerialPort(nullptr));
  EXPECT_STREQ("COM2", link.serial_port);
  EXPECT_TRUE(link.SetSerialPort(std::string(63, 'x').c_str()));
  EXPECT_EQ(std::string(63, 'x'), link.serial_port);
}

TEST_F(SerialDefaultsTest, InitSerialFailsOnAMissingPortAndWorksOnceCorrected) {
  link.SetSerialPort("COM9");
  EXPECT_EQ(0, link.InitSerial());
  EXPECT_FALSE(link.PortOpen());
  EXPECT_EQ(OpenError::no_such_port, link.last_open_error());
  link.SetSerialPort("COM2");
  link.serial_baud = 19200;
  link.serial_data = 7;
  link.serial_parity = 2;
  link.serial_stop = 2;
  EXPECT_EQ(1, link.InitSerial());
  EXPECT_TRUE(link.PortOpen());
  EXPECT_EQ(19200, line->configured.baud);
  EXPECT_EQ(7, line->configured.data_bits);
  EXPECT_EQ(2, line->configured.parity_code);
  EXPECT_EQ(2, line->configured.stop_code);
  EXPECT_EQ(std::vector<std::string>({"COM2", "COM9", "COM2"}), opener.opened);
  EXPECT_EQ("1200", std::string(link.baud_table[0].string));
  EXPECT_EQ(115200, link.baud_table[7].baud);
}

TEST_F(SerialDefaultsTest, RefusedSettingsLeaveThePortOpen) {
  line->refuse_configure = true;
  EXPECT_EQ(0, link.InitSerial());
  EXPECT_TRUE(link.PortOpen());
}

}  // namespace
}  // namespace onefortwo
