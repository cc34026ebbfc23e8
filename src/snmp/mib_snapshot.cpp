#include "mib_snapshot.h"

#include <cstring>

namespace onefortwo {

MibSnapshot EmptySnapshot() {
  MibSnapshot snapshot;
  std::memset(&snapshot, 0, sizeof snapshot);
  for (AmpRow& row : snapshot.amps) {
    row.state = amp_no_contact;
    row.fault = fault_none;
  }
  snapshot.waveguide1 = 'A';
  snapshot.waveguide2 = 'A';
  return snapshot;
}

void CopyText(char* to, int size, const char* text) {
  if (size <= 0) return;
  const size_t length = text == nullptr ? 0 : std::strlen(text);
  const size_t kept = length < static_cast<size_t>(size - 1) ? length : static_cast<size_t>(size - 1);
  if (kept > 0) std::memcpy(to, text, kept);
  to[kept] = '\0';
}

}  // namespace onefortwo
