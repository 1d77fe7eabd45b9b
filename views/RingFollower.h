// Reads the records a MonitorRing gains, each exactly once, for a reader on
// the user-interface thread that looks at the ring on a timer while the
// acquisition thread appends (the Bus Statistics window).
//
// Each Next takes a ring snapshot and hands over the records from the
// previous write index to the new one, across the end of the ring. To tell
// whether the writer went once round the ring or more since then (the write
// index alone cannot), the follower keeps a copy of the last record it
// handed over: when that record has been overwritten, records were lost, and
// the whole ring, oldest first, is handed over as the next batch. The count
// of lost records is then known only as a lower bound (the writer may have
// gone round more than once).
//
// At a start the ring still holds the previous run's records until the
// acquisition thread has reset it; AwaitReset makes the follower hand over
// nothing until the write index has left the value it had at the start.
//
// Threads: the user-interface thread; the ring's writer is the acquisition
// thread (see MonitorState.h for the publication order).
#pragma once

#include <cstdint>
#include <span>

#include "monitor/MonitorState.h"

namespace orvane::views {

struct RingBatch {
  std::span<const monitor::MonitorRecord> older;  // up to the end of the ring
  std::span<const monitor::MonitorRecord> newer;  // from the ring's first slot on
  // The ring had wrapped before the follower read anything: records older
  // than those handed over had been overwritten, how many is unknown.
  bool startedLate = false;
  // The batch is every record the ring holds, oldest first, not the records
  // after the previous batch: a first read, FromOldest, a resized ring, an
  // awaited reset seen, or a lap (an unannounced reset zeroes the records,
  // so it reads as a lap too).
  bool fromOldest = false;
  // The writer overwrote records since the previous batch before they were
  // handed over: at least `lostAtLeast` of them (possibly 0 more than that).
  bool lapped = false;
  std::uint64_t lostAtLeast = 0;

  std::size_t size() const { return older.size() + newer.size(); }
};

class RingFollower {
 public:
  // The next Next hands over every record the ring holds, oldest first.
  void FromOldest();
  // A start: records before the ring's reset are the previous run's.
  void AwaitReset(const monitor::MonitorRing& ring);
  // The acquisition thread has ended: a reset still awaited is taken as done
  // (the ring now holds what there is to read).
  void EndAwaitingReset();

  RingBatch Next(const monitor::MonitorRing& ring);

 private:
  enum class Mode { kFromOldest, kFollowing, kAwaitingReset };

  Mode mode_ = Mode::kFromOldest;
  std::uint32_t capacity_ = 0;
  std::uint32_t position_ = 0;  // ring index of the next record to hand over
  std::uint32_t awaitedIndex_ = 0;
  monitor::MonitorRecord lastHandedOver_{};
};

}  // namespace orvane::views
