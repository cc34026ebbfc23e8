// Rates that termios has no Bnnn constant for go through the kernel's termios2. Kept in
// a file of its own: <asm/termbits.h> clashes with <termios.h>.

#if defined(__linux__)
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace onefortwo {

bool SetCustomBaud(int fd, int baud) {
#if defined(__linux__) && defined(BOTHER)
  struct termios2 tio;
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
  tio.c_cflag |= BOTHER;
  tio.c_ispeed = static_cast<speed_t>(baud);
  tio.c_ospeed = static_cast<speed_t>(baud);
  return ioctl(fd, TCSETS2, &tio) == 0;
#else
  (void)fd;
  (void)baud;
  return false;
#endif
}

}  // namespace onefortwo
