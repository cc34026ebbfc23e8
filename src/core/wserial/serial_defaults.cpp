// The defaults file: one line "port baud parity data stop", e.g. "COM2 9600 N 8 1".

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

constexpr const char* kDefaultsName = "sdefault.txt";
// The file is read up to this many bytes, and ignored when it holds fewer than 10.
constexpr size_t kDefaultsReadLimit = 70;
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
  std::FILE* file = std::fopen(DefaultsFileName().c_str(), "rb");
  if (file == nullptr) return;
  char text[kDefaultsReadLimit + 1] = {};
  const size_t got = std::fread(text, 1, kDefaultsReadLimit, file);
  std::fclose(file);
  if (got < kDefaultsMinimum) return;
  text[got] = '\0';

  FieldReader reader(text);
  const char* name = nullptr;
  size_t name_length = 0;
  if (!reader.Word(&name, &name_length)) return;
  if (name_length <= static_cast<size_t>(kMaxPortNameLength)) {
    std::memcpy(serial_port, name, name_length);
    serial_port[name_length] = '\0';
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

bool SerialLink::SaveSerialDefaults() {
  const char parity = serial_parity == 1 ? 'O' : serial_parity == 2 ? 'E' : 'N';
  const int stop = serial_stop == 2 ? 2 : 1;
  char line[160];
  const int length = std::snprintf(line, sizeof line, "%s %d %c %d %d", serial_port, serial_baud,
                                   parity, serial_data, stop);
  if (length < 0 || static_cast<size_t>(length) >= sizeof line) return false;

  // Written beside the old file and renamed over it, so that a failed write never leaves
  // the operator with a cut settings file.
  const std::string name = DefaultsFileName();
  const std::string temporary = name + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(line, 1, static_cast<size_t>(length), file) ==
                       static_cast<size_t>(length);
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), name.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace onefortwo
