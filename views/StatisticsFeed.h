// The statistics of the Bus Statistics window, fed from the MonitorBuffer:
// on each refresh the records it gained since the previous one (while a run
// goes on, and once more after it has ended), or every record it holds when
// counting restarts (a window opened, a review shown). Says when records
// were overwritten before they could be counted.
//
// Threads: the user-interface thread (the ring is written by the
// acquisition thread; RingFollower reads it).
#pragma once

#include <cstdint>
#include <string>

#include "monitor/MonitorState.h"
#include "views/IdentifierStatistics.h"
#include "views/RingFollower.h"

namespace orvane::views {

class StatisticsFeed {
 public:
  // Forgets the counts; the next refresh counts every record the ring holds.
  void Restart(const FrameBitsSetup& setup);
  // A run starts: forgets the counts and waits for the ring's reset.
  void RunStarting(const monitor::MonitorRing& ring, const FrameBitsSetup& setup);
  // The run's acquisition thread has ended.
  void RunEnded() { follower_.EndAwaitingReset(); }
  // Counts the records the ring gained. Returns whether there were any.
  bool Refresh(const monitor::MonitorRing& ring);

  const IdentifierStatistics& statistics() const { return statistics_; }
  // Empty, or what was lost before it was counted.
  std::string LossText() const;

 private:
  void Forget(const FrameBitsSetup& setup);

  IdentifierStatistics statistics_;
  RingFollower follower_;
  bool startedLate_ = false;
  bool lapped_ = false;
  std::uint64_t lostAtLeast_ = 0;
};

}  // namespace orvane::views
