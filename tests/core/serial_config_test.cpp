#include "serconfig/serial_config.h"

#include <gtest/gtest.h>

#include "serconfig/port_list.h"
#include "support/station_fixture.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

TEST(SerialPortList, ComPortsSimAndTheDevicesFound) {
  const std::string too_long = "/dev/serial/by-id/" + std::string(46, 'x');  // 64 characters
  EXPECT_EQ(
      std::vector<std::string>({"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/ttyACM0",
                                "/dev/ttyUSB0", "/dev/ttyUSB1", "COM1", "COM2", "COM3", "COM4",
                                "COM5", "COM6", "COM7", "COM8", "SIM"}),
      SerialPortList({"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyACM0",
                      "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/ttyUSB0", "", too_long,
                      "COM3"}));
  EXPECT_EQ(9u, SerialPortList({}).size());
}

class SerialConfigTest : public StationTest {
 protected:
  SerialConfigTest() {
    station.link.save_directory = dir.path();
    opener.Add("COM1");
    opener.Add("/dev/ttyUSB0");
  }
  SerialConfigFields Fields(const char* port, const char* baud = "9600", const char* data = "8",
                            const char* stop = "1", const char* parity = "NONE") {
    return SerialConfigFields{port, baud, data, stop, parity};
  }
  SerialLink& link() { return station.link; }

  TempDir dir;
};

TEST_F(SerialConfigTest, OpensWithTheSettingsAndTheLists) {
  SerialConfigDialog dialog(link(), {"/dev/ttyUSB0"});
  EXPECT_EQ("COM2", dialog.initial().port);
  EXPECT_EQ("9600", dialog.initial().baud);
  EXPECT_EQ("8", dialog.initial().data);
  EXPECT_EQ("1", dialog.initial().stop);
  EXPECT_EQ("NONE", dialog.initial().parity);
  EXPECT_EQ(std::vector<std::string>(
                {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}),
            dialog.lists().baud);
  EXPECT_EQ(std::vector<std::string>({"7", "8"}), dialog.lists().data);
  EXPECT_EQ(std::vector<std::string>({"1", "2"}), dialog.lists().stop);
  EXPECT_EQ(std::vector<std::string>({"EVEN", "NONE", "ODD"}), dialog.lists().parity);
  EXPECT_EQ("/dev/ttyUSB0", dialog.lists().port.front());
  EXPECT_EQ("SIM", dialog.lists().port.back());
}

TEST_F(SerialConfigTest, FieldsShowEverySetting) {
  const struct {
    const char* port;
    int baud, data, stop, parity;
    const char* baud_text;
    const char* data_text;
    const char* stop_text;
    const char* parity_text;
  } cases[] = {
      {"/dev/ttyUSB0", 115200, 7, 2, 2, "115200", "7", "2", "EVEN"},
      {"COM9", 300, 8, 0, 1, "", "8", "1", "ODD"},
      {"SIM", 19200, 5, 1, 3, "19200", "7", "1", ""},
  };
  for (const auto& c : cases) {
    link().SetSerialPort(c.port);
    link().serial_baud = c.baud;
    link().serial_data = c.data;
    link().serial_stop = c.stop;
    link().serial_parity = c.parity;
    SerialConfigDialog dialog(link(), {});
    EXPECT_EQ(c.port, dialog.initial().port);
    EXPECT_EQ(c.baud_text, dialog.initial().baud) << c.port;
    EXPECT_EQ(c.data_text, dialog.initial().data) << c.port;
    EXPECT_EQ(c.stop_text, dialog.initial().stop) << c.port;
    EXPECT_EQ(c.parity_text, dialog.initial().parity) << c.port;
  }
}

TEST_F(SerialConfigTest, OkAppliesReopensAndSaves) {
  const struct {
    const char* name;
    SerialConfigFields texts;
    int baud, data, stop, parity;
    const char* file;
  } cases[] = {
      {"a new rate", Fields("COM1", "115200"), 115200, 8, 0, 0, "COM1 115200 N 8 1"},
      {"an unknown rate keeps the last", Fields("COM1", "300"), 115200, 8, 0, 0,
       "COM1 115200 N 8 1"},
      {"even in lower case", Fields("COM1", "9600", "7", "2", "even"), 9600, 7, 2, 2,
       "COM1 9600 E 7 2"},
      {"Odd", Fields("COM1", "9600", "8", "1", "Odd"), 9600, 8, 0, 1, "COM1 9600 O 8 1"},
      {"blank fields fall back", Fields("COM1", "", "", "", ""), 9600, 8, 0, 0, "COM1 9600 N 8 1"},
      {"odd texts fall back", Fields("COM1", "fast", "6", "1.5", "MARK"), 9600, 8, 0, 0,
       "COM1 9600 N 8 1"},
      {"a typed device path", Fields("/dev/ttyUSB0", "19200", "8", "2", "NONE"), 19200, 8, 2, 0,
       "/dev/ttyUSB0 19200 N 8 2"},
  };
  for (const auto& c : cases) {
    SerialConfigDialog dialog(link(), {});
    const SerialConfigDialog::Outcome outcome = dialog.Ok(c.texts);
    EXPECT_TRUE(outcome.close) << c.name;
    EXPECT_TRUE(outcome.saved) << c.name;
    EXPECT_EQ("", outcome.message) << c.name;
    EXPECT_EQ(c.texts.port, opener.opened.back()) << c.name;
    EXPECT_TRUE(link().PortOpen()) << c.name;
    EXPECT_EQ(c.baud, link().serial_baud) << c.name;
    EXPECT_EQ(c.data, link().serial_data) << c.name;
    EXPECT_EQ(c.stop, link().serial_stop) << c.name;
    EXPECT_EQ(c.parity, link().serial_parity) << c.name;
    EXPECT_EQ(c.file, dir.Read("sdefault.txt")) << c.name;
    const LineSettings& configured = opener.lines[c.texts.port]->configured;
    EXPECT_EQ(c.baud, configured.baud) << c.name;
    EXPECT_EQ(c.parity, configured.parity_code) << c.name;
  }
}

// The new settings stay in force, unsaved, and the port stays closed; the operator may
// correct the name and press OK again.
TEST_F(SerialConfigTest, PortThatCannotBeOpenedKeepsTheDialogOpen) {
  SerialConfigDialog dialog(link(), {});
  SerialConfigDialog::Outcome outcome = dialog.Ok(Fields("COM9", "19200"));
  EXPECT_FALSE(outcome.close);
  EXPECT_FALSE(outcome.saved);
  EXPECT_EQ("Can't open Com Port COM9.", outcome.message);
  EXPECT_EQ("There is no such port on this machine.", outcome.detail);
  EXPECT_EQ("Problem", outcome.caption);
  EXPECT_FALSE(dir.Exists("sdefault.txt"));
  EXPECT_STREQ("COM9", link().serial_port);
  EXPECT_EQ(19200, link().serial_baud);
  EXPECT_FALSE(link().PortOpen());

  line->refuse_configure = true;  // opens, but refuses its settings
  outcome = dialog.Ok(Fields("COM2", "19200"));
  EXPECT_FALSE(outcome.close);
  EXPECT_EQ("Can't open Com Port COM2.", outcome.message);
  EXPECT_EQ("The port opened but refused these settings.", outcome.detail);
  EXPECT_FALSE(dir.Exists("sdefault.txt"));

  line->refuse_configure = false;
  outcome = dialog.Ok(Fields("COM2", "19200"));
  EXPECT_TRUE(outcome.close);
  EXPECT_EQ("COM2 19200 N 8 1", dir.Read("sdefault.txt"));
}

// Names the station cannot take are refused before anything changes: the old port stays
// open and nothing is saved.
TEST_F(SerialConfigTest, PortNamesThatAreRefused) {
  const struct {
    std::string port;
    const char* message;
  } cases[] = {
      {"/dev/" + std::string(59, 'x'),
       "The port name is 64 characters long; a port name may have at most 63."},
      {std::string(5000, 'C'),
       "The port name is 5000 characters long; a port name may have at most 63."},
      {"/dev/my port", "A port name cannot contain blanks."},
      {" COM1", "A port name cannot contain blanks."},
      {"", "Can't open Com Port ."},
  };
  for (const auto& c : cases) {
    SerialConfigDialog dialog(link(), {});
    const SerialConfigDialog::Outcome outcome =
        dialog.Ok(SerialConfigFields{c.port, "115200", "7", "2", "EVEN"});
    EXPECT_FALSE(outcome.close);
    EXPECT_EQ(c.message, outcome.message);
    EXPECT_EQ("Problem", outcome.caption);
    EXPECT_STREQ("COM2", link().serial_port);
    EXPECT_EQ(9600, link().serial_baud);
    EXPECT_EQ(8, link().serial_data);
    EXPECT_EQ(0, link().serial_parity);
    EXPECT_TRUE(link().PortOpen());
  }
  EXPECT_EQ(std::vector<std::string>({"COM2"}), opener.opened);
  EXPECT_FALSE(dir.Exists("sdefault.txt"));

  // 63 characters is a name like any other.
  const std::string longest = "/dev/" + std::string(58, 'y');
  opener.Add(longest);
  EXPECT_TRUE(SerialConfigDialog(link(), {}).Ok(Fields(longest.c_str())).close);
  EXPECT_EQ(longest, link().serial_port);
}

TEST_F(SerialConfigTest, CancelChangesNothing) {
  dir.Write("sdefault.txt", "COM2 9600 N 8 1");
  { SerialConfigDialog dialog(link(), {"/dev/ttyUSB0"}); }
  EXPECT_STREQ("COM2", link().serial_port);
  EXPECT_EQ(9600, link().serial_baud);
  EXPECT_EQ(std::vector<std::string>({"COM2"}), opener.opened);
  EXPECT_EQ("COM2 9600 N 8 1", dir.Read("sdefault.txt"));
}

}  // namespace
}  // namespace onefortwo
