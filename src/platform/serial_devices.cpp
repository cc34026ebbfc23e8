#include "serial_devices.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace onefortwo {
namespace {

namespace fs = std::filesystem;

// Paths of the entries of `folder` whose names begin with `prefix`, sorted; the entries
// are not followed (by-id holds links, and a dangling one is still a name to show).
std::vector<std::string> EntriesStartingWith(const fs::path& folder, const std::string& prefix) {
  std::vector<std::string> found;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  const fs::directory_iterator end;
  for (; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0 && name.size() > prefix.size())
      found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<std::string> FindSerialDevices(const std::string& dev_root) {
  const fs::path root(dev_root);
  std::vector<std::string> devices = EntriesStartingWith(root / "serial" / "by-id", "");
  for (const char* prefix : {"ttyUSB", "ttyACM"}) {
    std::vector<std::string> more = EntriesStartingWith(root, prefix);
    devices.insert(devices.end(), more.begin(), more.end());
  }
  return devices;
}

}  // namespace onefortwo
