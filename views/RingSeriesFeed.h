// Feeding the Signal Plot's series from the ViewBuffer: the records the
// monitor views show (monitor mask applied, an extended frame merged into
// one record), of which the complete ordinary frames received without error
// carry signals, as the signal monitor window decodes them.
//
// A RingFollower reads the ring: each Update appends the records written
// since the previous one. When the follower hands over the whole ring again
// (a first read, Restart, a resized, reset or replaced ring, or a lap that
// lost records) the series start again from it. Once the ring has wrapped,
// points older than its oldest record are dropped, so the series show what
// the ring holds.
//
// Threads: the views' thread; the ring is read without a lock while the
// acquisition thread writes it (monitor/MonitorState.h).
#pragma once

#include <span>

#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"
#include "signals/SignalSeries.h"
#include "views/RingFollower.h"

namespace orvane::views {

// A complete ordinary frame without error: the records that carry signals.
bool CarriesSignals(const monitor::MonitorRecord& record);

// Appends every record of `records` that carries signals to `series`.
void AppendSignalRecords(std::span<const monitor::MonitorRecord> records,
                         signals::SignalSeriesSet& series);

class RingSeriesFeed {
 public:
  // Brings `series` up to the ring's write index. Returns whether the
  // series started again from the oldest record.
  bool Update(const monitor::MonitorRing& ring, signals::SignalSeriesSet& series);
  // The next Update starts from the oldest record.
  void Restart() { follower_.FromOldest(); }

 private:
  RingFollower follower_;
};

}  // namespace orvane::views
