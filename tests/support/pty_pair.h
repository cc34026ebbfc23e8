#pragma once

#include <string>

#include "support/fake_serial_device.h"

namespace onefortwo {

// A pseudo-terminal pair: the station opens the slave by its path; the test plays the
// installation on the master.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  bool ok() const { return master_ >= 0; }
  const std::string& slave_path() const { return slave_path_; }
  int master() const { return master_; }

  void Write(const Bytes& bytes) const;
  // Reads what the station has written within `timeout_ms`, up to `want` bytes.
  Bytes Read(size_t want, int timeout_ms) const;
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slave_path_;
};

}  // namespace onefortwo
