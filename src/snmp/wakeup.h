#pragma once

namespace onefortwo {

// Wakes a thread that waits in select() or poll(): Signal writes a byte into a pipe whose
// read end the waiting thread watches. Signal never blocks (a full pipe already wakes),
// so the tick thread may call it.
class Wakeup {
 public:
  Wakeup();
  ~Wakeup();
  Wakeup(const Wakeup&) = delete;
  Wakeup& operator=(const Wakeup&) = delete;

  // Any thread.
  void Signal();
  // The waiting thread: the descriptor to watch for reading, and taking every byte out
  // once it is readable. -1 when the pipe could not be made.
  int fd() const { return read_fd_; }
  void Drain();

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
};

}  // namespace onefortwo
