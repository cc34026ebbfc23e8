#include "win32_serial_device.h"

#include <windows.h>

#include <string>

#include "tcp_port_name.h"
#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

class Win32SerialDevice : public SerialDevice {
 public:
  explicit Win32SerialDevice(HANDLE handle) : handle_(handle) {}
  ~Win32SerialDevice() override { CloseHandle(handle_); }

  bool Configure(const LineSettings& settings) override {
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!SetCommTimeouts(handle_, &timeouts)) return false;
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.ByteSize = static_cast<BYTE>(settings.data_bits);
    dcb.Parity = static_cast<BYTE>(settings.parity_code);
    dcb.StopBits = static_cast<BYTE>(settings.stop_code);
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    dcb.fAbortOnError = 0;
    return SetCommState(handle_, &dcb) != 0;
  }

  int Read(uint8_t* buffer, size_t size) override {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &got, nullptr)) {
      Failed(GetLastError());
      return -1;
    }
    return static_cast<int>(got);
  }

  bool Write(const uint8_t* data, size_t size) override {
    DWORD put = 0;
    if (!WriteFile(handle_, data, static_cast<DWORD>(size), &put, nullptr)) {
      Failed(GetLastError());
      return false;
    }
    return put == size;
  }

  void Flush() override { FlushFileBuffers(handle_); }
  std::string Failure() const override { return failure_; }

 private:
  // A USB adapter pulled out answers every call with one of these from then on.
  void Failed(DWORD error) {
    if (!failure_.empty()) return;
    switch (error) {
      case ERROR_ACCESS_DENIED:
      case ERROR_BAD_COMMAND:
      case ERROR_DEVICE_REMOVED:
      case ERROR_GEN_FAILURE:
      case ERROR_OPERATION_ABORTED:
      case ERROR_INVALID_HANDLE:
        failure_ = "the device is gone (unplugged)";
        break;
      default:
        break;
    }
  }

  HANDLE handle_;
  std::string failure_;
};

OpenError ErrorFromLastError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return OpenError::no_such_port;
    case ERROR_ACCESS_DENIED:
      return OpenError::busy;  // a COM port another program holds answers "access denied"
    case ERROR_SHARING_VIOLATION:
      return OpenError::busy;
    default:
      return OpenError::failed;
  }
}

}  // namespace

std::unique_ptr<SerialDevice> Win32SerialPortOpener::Open(const std::string& port_name,
                                                          OpenError* error) {
  if (port_name.empty()) {
    *error = OpenError::no_such_port;
    return nullptr;
  }
  if (port_name.size() > static_cast<size_t>(kMaxPortNameLength)) {
    *error = OpenError::name_too_long;
    return nullptr;
  }
  // Terminal servers are not reached over TCP on Windows (their makers' virtual COM port
  // drivers serve there): the name is refused rather than tried as a device.
  if (IsTcpPortName(port_name)) {
    *error = OpenError::tcp_not_supported;
    return nullptr;
  }
  // COM10 and above only open through the device namespace; the prefix serves COM1..9 too.
  const std::string path = port_name.rfind("\\\\.\\", 0) == 0 ? port_name : "\\\\.\\" + port_name;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *error = ErrorFromLastError(GetLastError());
    return nullptr;
  }
  *error = OpenError::none;
  return std::make_unique<Win32SerialDevice>(handle);
}

}  // namespace onefortwo
