#include "serial_devices.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace onefortwo {
namespace {

TEST(SerialDevices, ByIdLinksThenUsbAndAcmDevices) {
  TempDir dev;
  const std::string root = dev.path() + "dev";
  std::filesystem::create_directories(root + "/serial/by-id");
  for (const char* name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0", "tty0", "ttyUSB", "null"})
    dev.Write(std::string("dev/") + name, "");
  ASSERT_EQ(0, ::symlink("../../ttyUSB0",
                         (root + "/serial/by-id/usb-FTDI_FT232R_USB_UART-if00-port0").c_str()));
  ASSERT_EQ(0, ::symlink("../../gone", (root + "/serial/by-id/usb-unplugged-if00").c_str()));

  EXPECT_EQ(std::vector<std::string>({root + "/serial/by-id/usb-FTDI_FT232R_USB_UART-if00-port0",
                                      root + "/serial/by-id/usb-unplugged-if00", root + "/ttyUSB0",
                                      root + "/ttyUSB1", root + "/ttyACM0"}),
            FindSerialDevices(root));
}

TEST(SerialDevices, MissingFoldersFindNothing) {
  TempDir dev;
  EXPECT_TRUE(FindSerialDevices(dev.path() + "none").empty());
  EXPECT_TRUE(FindSerialDevices(dev.path()).empty());  // no serial/by-id, no devices
}

}  // namespace
}  // namespace onefortwo
