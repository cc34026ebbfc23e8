#pragma once

#include "amp/amp_info.h"
#include "mib_snapshot.h"

namespace onefortwo {

// The notifications of ONEFORTWO-MIB, numbered as under onefortwoNotifications.
enum class NotificationKind : uint8_t {
  amp_faulted = 1,
  amp_fault_cleared = 2,
  switch_changed = 3,
  contact_lost = 4,
  contact_restored = 5,
  port_lost = 6,
  port_restored = 7,
};

constexpr int kNotificationReasonSize = 128;

// One notification as the tick thread queues it for the agent's thread: plain data, the
// texts cut to fit.
struct Notification {
  NotificationKind kind;
  int device;          // the station's device number: 0 controller, 1..3 amplifiers A..C
  fault_enum fault;    // amp_faulted: the fault that came up; amp_fault_cleared: it ended
  int waveguide1;      // switch_changed: the new positions, 65 'A' or 66 'B'
  int waveguide2;
  bool commanded;      // switch_changed: within 10 s of a switch command from the station
  char port[kSnapshotPortSize];           // port_lost, port_restored
  char reason[kNotificationReasonSize];   // contact_lost, port_lost
};

}  // namespace onefortwo
