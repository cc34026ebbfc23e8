// The settings file sdefault.txt: any text read by SerialLink::ReadSerialDefaults, the same
// bytes read from the file by LoadSerialDefaults, and, whenever a port name was taken, a
// save and a reload that must give back the very same settings.
//
// The input is the file's text, as it is.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

// The folder the files go to, made once per run: in memory where the machine has /dev/shm,
// since each input writes two files.
const std::string& Folder() {
  static const std::string folder = [] {
    char pattern[] = "/dev/shm/onefortwo-fuzz-XXXXXX";
    char fallback[] = "/tmp/onefortwo-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) made = ::mkdtemp(fallback);
    FUZZ_CHECK(made != nullptr, "no folder for the settings file");
    static std::string name = made;
    std::atexit([] {
      std::remove((name + "/sdefault.txt").c_str());
      ::rmdir(name.c_str());
    });
    return std::string(made) + "/";
  }();
  return folder;
}

struct Settings {
  std::string port;
  int baud, data, stop, parity;
  bool operator==(const Settings& o) const {
    return port == o.port && baud == o.baud && data == o.data && stop == o.stop &&
           parity == o.parity;
  }
};

Settings Of(const SerialLink& link) {
  return {link.serial_port, link.serial_baud, link.serial_data, link.serial_stop,
          link.serial_parity};
}

std::string Describe(const Settings& s) {
  return "\"" + s.port + "\" " + std::to_string(s.baud) + " data " + std::to_string(s.data) +
         " stop " + std::to_string(s.stop) + " parity " + std::to_string(s.parity);
}

// A link to read into, with every setting other than in `unlike`, so that a field the
// reading leaves alone shows.
struct Link {
  explicit Link(const Settings& unlike) : link(opener, clock, windows) {
    link.save_directory = Folder();
    std::strcpy(link.serial_port, unlike.port == "X" ? "Y" : "X");
    link.serial_baud = unlike.baud == 1 ? 2 : 1;
    link.serial_data = unlike.data == 7 ? 8 : 7;
    link.serial_stop = unlike.stop == 2 ? 0 : 2;
    link.serial_parity = (unlike.parity + 1) % 3;
  }
  FakeOpener opener;
  FakeClock clock;
  FakeWindows windows;
  SerialLink link;
};

bool WriteFile(const std::string& name, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

void RunSerialDefaults(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FakeOpener opener;
  FakeClock clock;
  FakeWindows windows;
  SerialLink read(opener, clock, windows);
  read.ReadSerialDefaults(text.c_str());
  const Settings got = Of(read);

  FUZZ_CHECK(Terminated(read.serial_port, sizeof read.serial_port), "serial_port has no end");
  FUZZ_CHECK(got.port.size() <= static_cast<size_t>(kMaxPortNameLength), "a %zu-character name",
             got.port.size());
  FUZZ_CHECK(got.port.find_first_of(" \t\n\v\f\r") == std::string::npos,
             "a name with a blank: \"%s\"", got.port.c_str());
  FUZZ_CHECK(got.stop == 0 || got.stop == 2, "stop code %d", got.stop);
  FUZZ_CHECK(got.parity >= 0 && got.parity <= 2, "parity code %d", got.parity);
  // A name that did not fit leaves no port named, and says why; otherwise a port is named
  // (the text's, or the one before when the text holds none).
  if (!read.defaults_problem().empty()) {
    FUZZ_CHECK(got.port.empty(), "a problem (%s), yet port \"%s\"", read.defaults_problem().c_str(),
               got.port.c_str());
  } else {
    FUZZ_CHECK(!got.port.empty(), "no port named and no reason given");
  }

  // The same bytes in the file, read as the station reads it at start.
  {
    Link from_file(got);
    const Settings untouched = Of(from_file.link);
    FUZZ_CHECK(WriteFile(from_file.link.DefaultsFileName(), data, size), "cannot write the file");
    from_file.link.LoadSerialDefaults();
    if (size < 10) {
      FUZZ_CHECK(Of(from_file.link) == untouched, "a file of %zu bytes changed the settings", size);
    } else if (size <= 4096) {
      Link from_text(got);
      from_text.link.ReadSerialDefaults(text.c_str());
      FUZZ_CHECK(Of(from_file.link) == Of(from_text.link), "the file gave %s, its text %s",
                 Describe(Of(from_file.link)).c_str(), Describe(Of(from_text.link)).c_str());
    }
  }

  // Saved and read back at the next start: the same, byte for byte.
  if (got.port.empty()) return;
  read.save_directory = Folder();
  FUZZ_CHECK(read.SaveSerialDefaults(), "the settings %s could not be saved",
             Describe(got).c_str());
  Link reload(got);
  reload.link.LoadSerialDefaults();
  FUZZ_CHECK(reload.link.defaults_problem().empty(), "the saved file reads with a problem: %s",
             reload.link.defaults_problem().c_str());
  FUZZ_CHECK(Of(reload.link) == got, "saved %s, read back %s", Describe(got).c_str(),
             Describe(Of(reload.link)).c_str());
}

}  // namespace
}  // namespace onefortwo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  onefortwo::RunSerialDefaults(data, size);
  return 0;
}
