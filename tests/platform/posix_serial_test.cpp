#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "port_names.h"
#include "posix_serial_device.h"
#include "support/pty_pair.h"

namespace onefortwo {
namespace {

TEST(PortNames, ComNamesMapToTtyS) {
  const struct {
    const char* name;
    const char* path;
  } cases[] = {
      {"COM1", "/dev/ttyS0"},   {"COM2", "/dev/ttyS1"},
      {"COM10", "/dev/ttyS9"},  {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"COM0", "COM0"},         {"COM", "COM"},
      {"COMX", "COMX"},         {"/dev/serial/by-id/usb-x", "/dev/serial/by-id/usb-x"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.path, DevicePathForPort(c.name)) << c.name;
}

TEST(PosixOpener, ExplainsWhyAPortDidNotOpen) {
  PosixSerialPortOpener opener;
  const struct {
    std::string name;
    OpenError error;
  } cases[] = {
      {"/dev/onefortwo-no-such-port", OpenError::no_such_port},
      {"", OpenError::no_such_port},
      {"/" + std::string(63, 'x'), OpenError::name_too_long},
      {"/dev/null", OpenError::not_a_serial_port},
  };
  for (const auto& c : cases) {
    OpenError error = OpenError::none;
    EXPECT_EQ(nullptr, opener.Open(c.name, &error)) << c.name;
    EXPECT_EQ(c.error, error) << c.name;
    EXPECT_NE(std::string(), OpenErrorText(error));
  }
}

class PosixSerialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminals on this machine";
    OpenError error = OpenError::failed;
    device = PosixSerialDevice::Open(pty.slave_path(), &error);
    ASSERT_NE(nullptr, device) << OpenErrorText(error);
    ASSERT_GT(pty.slave_path().size(), 9u);
  }
  // Reads what has arrived, waiting up to a second for `want` bytes in all.
  Bytes ReadFromDevice(size_t want) {
    Bytes got;
    for (int wait = 0; wait < 1000 && got.size() < want; ++wait) {
      uint8_t buffer[64];
      const int n = device->Read(buffer, sizeof buffer);
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
      if (got.size() < want) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return got;
  }
  PtyPair pty;
  std::unique_ptr<PosixSerialDevice> device;
};

TEST_F(PosixSerialTest, ReadReturnsAtOnceWithWhatHasArrived) {
  ASSERT_TRUE(device->Configure(LineSettings()));
  uint8_t buffer[16];
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(0, device->Read(buffer, sizeof buffer));
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));
  pty.Write({0x06, 0x40, 0x31, 0x03, 0x74});
  EXPECT_EQ(Hex({0x06, 0x40, 0x31, 0x03, 0x74}), Hex(ReadFromDevice(5)));
  EXPECT_FALSE(device->hung_up());
}

TEST_F(PosixSerialTest, WritesReachTheOtherEndUnchanged) {
  ASSERT_TRUE(device->Configure(LineSettings()));
  // Bytes a cooked terminal would change: CR, NL, XON, XOFF, DEL, 8-bit.
  const Bytes frame = {0x02, 0x0D, 0x0A, 0x11, 0x13, 0x7F, 0xFF, 0x03, 0x00};
  ASSERT_TRUE(device->Write(frame.data(), frame.size()));
  device->Flush();
  EXPECT_EQ(Hex(frame), Hex(pty.Read(frame.size(), 1000)));
  pty.Write(frame);
  EXPECT_EQ(Hex(frame), Hex(ReadFromDevice(frame.size())));
}

// Settings in the order the defaults file writes them: rate, parity, data bits, stop code.
LineSettings Line(int baud, int parity_code, int data_bits, int stop_code) {
  LineSettings settings;
  settings.baud = baud;
  settings.parity_code = parity_code;
  settings.data_bits = data_bits;
  settings.stop_code = stop_code;
  return settings;
}

TEST(LineSettingsToTermios, EachSettingSetsItsFlags) {
  const struct {
    LineSettings settings;
    speed_t speed;  // B0: a rate without a constant, set through termios2 instead
  } cases[] = {
      {Line(9600, 0, 8, 0), B9600},     {Line(1200, 2, 7, 2), B1200},
      {Line(115200, 1, 8, 0), B115200}, {Line(57600, 1, 7, 2), B57600},
      {Line(250000, 0, 8, 0), B0},      {Line(300, 2, 8, 0), B300},
  };
  for (const auto& c : cases) {
    struct termios tio = {};
    tio.c_iflag = IXON | IXOFF | ICRNL;
    tio.c_cflag = CRTSCTS | PARODD | CSTOPB;
    ASSERT_TRUE(ApplyLineSettings(&tio, c.settings)) << c.settings.baud;
    EXPECT_EQ(c.settings.data_bits == 7 ? CS7 : CS8, tio.c_cflag & CSIZE);
    EXPECT_EQ(c.settings.parity_code != 0, (tio.c_cflag & PARENB) != 0);
    EXPECT_EQ(c.settings.parity_code == 1, (tio.c_cflag & PARODD) != 0);
    EXPECT_EQ(c.settings.stop_code == 2, (tio.c_cflag & CSTOPB) != 0);
    EXPECT_EQ(0u, tio.c_cflag & CRTSCTS);
    EXPECT_EQ(0u, tio.c_iflag & (IXON | IXOFF | ICRNL));
    EXPECT_EQ(CLOCAL | CREAD, tio.c_cflag & (CLOCAL | CREAD));
    if (c.speed != B0) {
      EXPECT_EQ(c.speed, ::cfgetospeed(&tio)) << c.settings.baud;
      EXPECT_EQ(c.speed, ::cfgetispeed(&tio)) << c.settings.baud;
    }
  }
}

TEST_F(PosixSerialTest, TakesTableRatesAndOtherRates) {
  for (int baud : {1200, 9600, 115200, 250000, 31250}) {
    LineSettings settings;
    settings.baud = baud;
    settings.stop_code = 2;
    EXPECT_TRUE(device->Configure(settings)) << baud;
  }
  EXPECT_FALSE(device->rs485_enabled());  // a pseudo-terminal has no RS-485 mode
}

TEST_F(PosixSerialTest, RefusesSettingsItCannotApply) {
  const LineSettings refused[] = {
      Line(9600, 0, 9, 0), Line(9600, 3, 8, 0), Line(9600, 0, 8, 1), Line(0, 0, 8, 0),
      Line(-5, 0, 8, 0),
  };
  for (const LineSettings& s : refused) EXPECT_FALSE(device->Configure(s)) << s.baud;
}

TEST_F(PosixSerialTest, HangUpReadsAsAnErrorNotAsABusyLoop) {
  ASSERT_TRUE(device->Configure(LineSettings()));
  pty.CloseMaster();
  uint8_t buffer[8];
  EXPECT_EQ(-1, device->Read(buffer, sizeof buffer));
  EXPECT_TRUE(device->hung_up());
  EXPECT_EQ(-1, device->Read(buffer, sizeof buffer));
}

}  // namespace
}  // namespace onefortwo

namespace onefortwo {
namespace {

// A pseudo-terminal as the system makes it: cooked (echo, line editing, output
// processing, XON/XOFF), as a real serial port may be when the station opens it.
class FreshPty {
 public:
  FreshPty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    if (const char* name = ::ptsname(master_)) path_ = name;
  }
  ~FreshPty() {
    if (master_ >= 0) ::close(master_);
  }
  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  int master() const { return master_; }
  // The slave's settings, seen through a descriptor of its own.
  struct termios Settings() const {
    struct termios tio = {};
    const int fd = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
      ::tcgetattr(fd, &tio);
      ::close(fd);
    }
    return tio;
  }

 private:
  int master_ = -1;
  std::string path_;
};

TEST(PosixSerialRawLine, APortThatRefusesItsSettingsIsStillARawBinaryLine) {
  FreshPty pty;
  if (!pty.ok()) GTEST_SKIP() << "no pseudo-terminals on this machine";
  const struct termios cooked = pty.Settings();
  ASSERT_TRUE(cooked.c_lflag & ECHO) << "a fresh pseudo-terminal is cooked";
  ASSERT_TRUE(cooked.c_lflag & ICANON);
  ASSERT_TRUE(cooked.c_oflag & OPOST);

  OpenError error = OpenError::failed;
  auto device = PosixSerialDevice::Open(pty.path(), &error);
  ASSERT_NE(nullptr, device) << OpenErrorText(error);
  LineSettings nine_bits;
  nine_bits.data_bits = 9;  // from a settings file: refused
  EXPECT_FALSE(device->Configure(nine_bits));

  const struct termios tio = pty.Settings();
  const struct {
    const char* name;
    tcflag_t flags;
    tcflag_t mask;
  } off[] = {
      {"ECHO", tio.c_lflag, ECHO},     {"ICANON", tio.c_lflag, ICANON},
      {"ISIG", tio.c_lflag, ISIG},     {"IEXTEN", tio.c_lflag, IEXTEN},
      {"OPOST", tio.c_oflag, OPOST},   {"IXON", tio.c_iflag, IXON},
      {"IXOFF", tio.c_iflag, IXOFF},   {"ICRNL", tio.c_iflag, ICRNL},
      {"INLCR", tio.c_iflag, INLCR},   {"IGNCR", tio.c_iflag, IGNCR},
      {"ISTRIP", tio.c_iflag, ISTRIP},
  };
  for (const auto& flag : off) EXPECT_EQ(0u, flag.flags & flag.mask) << flag.name << " is on";
  EXPECT_EQ(cooked.c_cflag & CSIZE, tio.c_cflag & CSIZE) << "the character format is the driver's";

  // What the line carries goes through untouched both ways, and nothing comes back.
  const uint8_t reply[] = {0x06, 0x41, 0x0A, 0x0D, 0x11, 0x13, 0x03, 0x7F, 0x04};
  ASSERT_EQ(static_cast<ssize_t>(sizeof reply), ::write(pty.master(), reply, sizeof reply));
  uint8_t got[32];
  int count = 0;
  for (int wait = 0; wait < 1000 && count < static_cast<int>(sizeof reply); ++wait) {
    const int n = device->Read(got + count, sizeof got - static_cast<size_t>(count));
    if (n > 0) count += n;
    if (count < static_cast<int>(sizeof reply))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(Hex(Bytes(reply, reply + sizeof reply)), Hex(Bytes(got, got + count)));
  const uint8_t command[] = {0x02, 0x41, 0x0A, 0x03, 0x48};
  ASSERT_TRUE(device->Write(command, sizeof command));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  uint8_t heard[64];
  const ssize_t n = ::read(pty.master(), heard, sizeof heard);
  EXPECT_EQ(Hex(Bytes(command, command + sizeof command)),
            Hex(Bytes(heard, heard + (n > 0 ? n : 0))))
      << "no echo of the reply, no CR before the 0x0A";
}

}  // namespace
}  // namespace onefortwo
