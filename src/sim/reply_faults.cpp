#include "sim/reply_faults.h"

namespace onefortwo {

const char* ReplyFaultName(ReplyFault fault) {
  switch (fault) {
    case ReplyFault::none:
      return "none";
    case ReplyFault::silent:
      return "silent";
    case ReplyFault::nak:
      return "nak";
    case ReplyFault::bad_check:
      return "badcheck";
    case ReplyFault::cut_short:
      return "cut";
  }
  return "none";
}

bool ReplyFaults::Set(int device, ReplyFault fault, int count) {
  if (device < 0 || device >= kDevices) return false;
  Entry& entry = entries_[device];
  entry.fault = fault;
  entry.remaining = fault == ReplyFault::none ? 0 : (count < 1 ? -1 : count);
  return true;
}

ReplyFault ReplyFaults::Take(int device) {
  if (device < 0 || device >= kDevices) return ReplyFault::none;
  Entry& entry = entries_[device];
  const ReplyFault now = entry.fault;
  if (entry.remaining > 0 && --entry.remaining == 0) entry.fault = ReplyFault::none;
  return now;
}

ReplyFault ReplyFaults::fault(int device) const {
  return device >= 0 && device < kDevices ? entries_[device].fault : ReplyFault::none;
}

int ReplyFaults::remaining(int device) const {
  return device >= 0 && device < kDevices ? entries_[device].remaining : 0;
}

}  // namespace onefortwo
