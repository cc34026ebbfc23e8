// The defaults file: one line "port baud parity data stop", e.g. "COM2 9600 N 8 1".

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

constexpr const char* kDefaultsName = "sdefault.txt";
// The file is read up to this many bytes, and ignored when it holds fewer than 10. The
// longest line the station writes (a 63-character name and every field at its widest) is
// under 100 bytes, so every setting the serial dialog accepts comes back as it was saved.
constexpr size_t kDefaultsReadLimit = 4096;
constexpr size_t kDefaultsMinimum = 10;

// Reads the fields of "%s %d %c %d %c" one after the other, stopping at the first that
// is missing or malformed, as scanf does; the text ends at its first NUL.
class FieldReader {
 public:
  explicit FieldReader(const char* text) : p_(text) {}

  // The next run of non-blank characters, or false at the end of the text.
  bool Word(const char** start, size_t* length) {
    SkipBlanks();
    if (*p_ == '\0') return false;
    *start = p_;
    while (*p_ != '\0' && !IsBlank(*p_)) ++p_;
    *length = static_cast<size_t>(p_ - *start);
    return true;
  }

  // A decimal number that fits an int, or false (nothing is consumed then).
  bool Number(int* value) {
    SkipBlanks();
    if (!(std::isdigit(static_cast<unsigned char>(*p_)) ||
          ((*p_ == '-' || *p_ == '+') && std::isdigit(static_cast<unsigned char>(p_[1]))))) {
      return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(p_, &end, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    p_ = end;
    *value = static_cast<int>(parsed);
    return true;
  }

  // The next non-blank character, or false at the end of the text.
  bool Character(char* value) {
    SkipBlanks();
    if (*p_ == '\0') return false;
    *value = *p_++;
    return true;
  }

 private:
  static bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
  void SkipBlanks() {
    while (*p_ != '\0' && IsBlank(*p_)) ++p_;
  }
  const char* p_;
};

}  // namespace

std::string SerialLink::DefaultsFileName() const { return save_directory + kDefaultsName; }

void SerialLink::LoadSerialDefaults() {
  defaults_problem_.clear();
  std::FILE* file = std::fopen(DefaultsFileName().c_str(), "rb");
  if (file == nullptr) return;
  std::string text(kDefaultsReadLimit, '\0');
  const size_t got = std::fread(&text[0], 1, kDefaultsReadLimit, file);
  std::fclose(file);
  if (got < kDefaultsMinimum) return;
  text.resize(got);
  ReadSerialDefaults(text.c_str());
}

void SerialLink::ReadSerialDefaults(const char* text) {
  FieldReader reader(text);
  const char* name = nullptr;
  size_t name_length = 0;
  if (!reader.Word(&name, &name_length)) return;
  if (name_length <= static_cast<size_t>(kMaxPortNameLength)) {
    std::memcpy(serial_port, name, name_length);
    serial_port[name_length] = '\0';
  } else {
    // A name that does not fit is no port at all: never the start value, never a cut
    // name, neither of which the operator chose.
    serial_port[0] = '\0';
    char why[160];
    std::snprintf(why, sizeof why,
                  "%s names a port of %zu characters; a port name may have at most %d.",
                  kDefaultsName, name_length, kMaxPortNameLength);
    defaults_problem_ = why;
  }
  int baud = 0;
  if (!reader.Number(&baud)) return;
  serial_baud = baud;
  char parity = 0;
  if (!reader.Character(&parity)) return;
  serial_parity = parity == 'E' ? 2 : parity == 'O' ? 1 : 0;
  int data = 0;
  if (!reader.Number(&data)) return;
  serial_data = data;
  char stop = 0;
  if (!reader.Character(&stop)) return;
  serial_stop = stop == '2' ? 2 : 0;
}

namespace {

// Puts the new file `temporary` in the place of `name`, replacing any old one at once, so
// that the name always holds a whole settings file, old or new.
bool ReplaceFile(const std::string& temporary, const std::string& name) {
#ifdef _WIN32
  // rename() will not replace an existing file on Windows.
  return MoveFileExA(temporary.c_str(), name.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(temporary.c_str(), name.c_str()) == 0;
#endif
}

}  // namespace

bool SerialLink::SaveSerialDefaults() {
  const char parity = serial_parity == 1 ? 'O' : serial_parity == 2 ? 'E' : 'N';
  const int stop = serial_stop == 2 ? 2 : 1;
  char line[160];
  int length = std::snprintf(line, sizeof line, "%s %d %c %d %d", serial_port, serial_baud,
                             parity, serial_data, stop);
  if (length < 0 || static_cast<size_t>(length) >= sizeof line) return false;
  // A file of fewer than kDefaultsMinimum bytes is not read at the next start: a shorter
  // line (a one-character name with a one-digit rate) is made up with blanks, which the
  // reading skips.
  while (static_cast<size_t>(length) < kDefaultsMinimum) line[length++] = ' ';

  // Written beside the old file and renamed over it, so that a failed write never leaves
  // the operator with a cut settings file.
  const std::string name = DefaultsFileName();
  const std::string temporary = name + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(line, 1, static_cast<size_t>(length), file) ==
                 static_cast<size_t>(length);
  // On the disk before it replaces the old file: a power cut leaves one or the other.
  written = written && std::fflush(file) == 0;
#ifndef _WIN32
  written = written && ::fsync(fileno(file)) == 0;
#endif
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || !ReplaceFile(temporary, name)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace onefortwo
