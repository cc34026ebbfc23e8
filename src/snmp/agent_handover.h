#pragma once

#include "handover.h"
#include "mib_snapshot.h"
#include "notification.h"
#include "wakeup.h"

namespace onefortwo {

// What passes from the station's tick thread to the agent's thread, all without a lock:
// the newest snapshot of the module, the notifications in order, and a wake-up for the
// agent when a notification waits.
struct AgentHandover {
  // Notifications waiting at once beyond this are dropped (and counted): the agent's
  // thread sends them within milliseconds, so only a stalled master fills it.
  static constexpr size_t kQueuedNotifications = 64;

  TripleBuffer<MibSnapshot> snapshot{EmptySnapshot()};
  SpscQueue<Notification, kQueuedNotifications> notifications;
  Wakeup wakeup;
};

}  // namespace onefortwo
