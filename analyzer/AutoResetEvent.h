// An event that resets itself when a waiter takes it: the stop event of the
// acquisition thread and the cancel event of the firmware download.
//
// Threads: Set and Reset may be called from any thread; any thread may
// wait. A signal is taken by exactly one successful wait (or cleared by
// Reset); signals given while nobody waits are kept until the next wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace orvane::analyzer {

class AutoResetEvent {
 public:
  // Signals the event; one waiter (present or next) takes it.
  void Set();
  // Clears a signal that no waiter has taken yet.
  void Reset();
  // Blocks up to `timeout` for the signal. Returns true, and clears the
  // signal, when it came; false after the timeout. A zero timeout only looks.
  bool WaitFor(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable signalled_changed_;
  bool signalled_ = false;
};

}  // namespace orvane::analyzer
