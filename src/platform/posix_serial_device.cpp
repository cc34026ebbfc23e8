#include "posix_serial_device.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/serial.h>
#endif

#include <string>

#include "port_names.h"
#include "tcp_port_name.h"
#include "tcp_serial_device.h"
#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

// How long a write may wait for room in the driver's buffer before it gives up.
constexpr int kWriteWaitMs = 2000;

speed_t StandardSpeed(int baud) {
  switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
#endif
    default: return B0;
  }
}

OpenError ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return OpenError::no_such_port;
    case EACCES:
    case EPERM:
    case EROFS:
      return OpenError::access_denied;
    case EBUSY:
    case EWOULDBLOCK:
      return OpenError::busy;
    case ENOTTY:
    case EISDIR:
      return OpenError::not_a_serial_port;
    case ENAMETOOLONG:
      return OpenError::name_too_long;
    default:
      return OpenError::failed;
  }
}

}  // namespace

std::unique_ptr<PosixSerialDevice> PosixSerialDevice::Open(const std::string& path,
                                                          OpenError* error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = ErrorFromErrno(errno);
    return nullptr;
  }
  struct termios line;
  if (::tcgetattr(fd, &line) != 0) {
    ::close(fd);
    *error = OpenError::not_a_serial_port;
    return nullptr;
  }
  // Raw from the start: a terminal's echo would put the equipment's bytes back on the
  // shared line, and its output processing would turn a check byte 0x0A into 0D 0A.
  MakeRawLine(&line);
  if (::tcsetattr(fd, TCSANOW, &line) != 0) {
    ::close(fd);
    *error = OpenError::failed;
    return nullptr;
  }
  // Exclusive, as the station's port is: a later open by another program gets EBUSY.
  ::ioctl(fd, TIOCEXCL);
  *error = OpenError::none;
  return std::unique_ptr<PosixSerialDevice>(new PosixSerialDevice(fd));
}

PosixSerialDevice::~PosixSerialDevice() {
  if (fd_ >= 0) {
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
}

void MakeRawLine(struct termios* termios_p) {
  struct termios& tio = *termios_p;
  tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXON | IXOFF | IXANY | IMAXBEL);
#ifdef IUCLC
  tio.c_iflag &= ~static_cast<tcflag_t>(IUCLC);
#endif
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
}

bool ApplyLineSettings(struct termios* termios_p, const LineSettings& settings) {
  struct termios& tio = *termios_p;
  ::cfmakeraw(&tio);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
  // With parity on, bytes that arrive with a wrong parity bit are not taken as they are.
  if (settings.parity_code == 1 || settings.parity_code == 2) tio.c_iflag |= INPCK;
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  switch (settings.data_bits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    case 8: tio.c_cflag |= CS8; break;
    default: return false;
  }
  switch (settings.parity_code) {
    case 0: break;
    case 1: tio.c_cflag |= PARENB | PARODD; break;
    case 2: tio.c_cflag |= PARENB; break;
    default: return false;
  }
  switch (settings.stop_code) {
    case 0: break;
    case 2: tio.c_cflag |= CSTOPB; break;
    default: return false;  // one and a half stop bits: not on this platform
  }
  // VMIN 1 with O_NONBLOCK: a read with nothing waiting fails with EAGAIN at once, and
  // only a hang-up reads 0 bytes. (VMIN 0 would make the two look alike.)
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (settings.baud <= 0) return false;
  const speed_t speed = StandardSpeed(settings.baud);
  if (speed != B0 && (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)) {
    return false;
  }
  return true;
}

bool PosixSerialDevice::Configure(const LineSettings& settings) {
  struct termios tio;
  if (::tcgetattr(fd_, &tio) != 0) return false;
  if (!ApplyLineSettings(&tio, settings)) return false;
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
  if (StandardSpeed(settings.baud) == B0 && !SetCustomBaud(fd_, settings.baud)) return false;

  rs485_enabled_ = false;
#if defined(__linux__) && defined(TIOCSRS485)
  // RTS raised while sending, for RS-485 adapters; a port without the feature (RS-232,
  // a pseudo-terminal) answers with an error and works as it is.
  struct serial_rs485 rs485 = {};
  if (::ioctl(fd_, TIOCGRS485, &rs485) == 0) {
    rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    rs485.flags &= ~static_cast<__u32>(SER_RS485_RTS_AFTER_SEND);
    rs485_enabled_ = ::ioctl(fd_, TIOCSRS485, &rs485) == 0;
  }
#endif
  ::tcflush(fd_, TCIOFLUSH);
  return true;
}

void PosixSerialDevice::Gone(int error) {
  hung_up_ = true;
  if (!failure_.empty()) return;
  switch (error) {
    case 0:
      failure_ = "the device hung up";
      break;
    case EIO:
      failure_ = "input/output error: the device hung up or was unplugged";
      break;
    default:
      failure_ = "the device is gone (unplugged)";
      break;
  }
}

int PosixSerialDevice::Read(uint8_t* buffer, size_t size) {
  if (size == 0) return 0;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got > 0) return static_cast<int>(got);
    if (got == 0) {
      Gone(0);  // end of file: the other end has gone
      return -1;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    if (errno == EIO || errno == ENXIO || errno == ENODEV) Gone(errno);
    return -1;
  }
}

bool PosixSerialDevice::Write(const uint8_t* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t put = ::write(fd_, data + done, size - done);
    if (put > 0) {
      done += static_cast<size_t>(put);
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && (errno == EIO || errno == ENXIO || errno == ENODEV)) {
      Gone(errno);
      return false;
    }
    if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      struct pollfd room = {fd_, POLLOUT, 0};
      if (::poll(&room, 1, kWriteWaitMs) > 0 && (room.revents & POLLOUT)) continue;
    }
    return false;
  }
  return true;
}

void PosixSerialDevice::Flush() { ::tcdrain(fd_); }

std::unique_ptr<SerialDevice> PosixSerialPortOpener::Open(const std::string& port_name,
                                                          OpenError* error) {
  if (port_name.empty()) {
    *error = OpenError::no_such_port;
    return nullptr;
  }
  if (port_name.size() > static_cast<size_t>(kMaxPortNameLength)) {
    *error = OpenError::name_too_long;
    return nullptr;
  }
  if (IsTcpPortName(port_name)) {
    TcpPortName address;
    if (!ParseTcpPortName(port_name, &address)) {
      *error = OpenError::bad_tcp_address;
      return nullptr;
    }
    *error = OpenError::none;
    return std::make_unique<TcpSerialDevice>(address, resolver_);
  }
  return PosixSerialDevice::Open(DevicePathForPort(port_name), error);
}

}  // namespace onefortwo
