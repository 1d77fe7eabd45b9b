#include "views/StatisticsFeed.h"

namespace orvane::views {

void StatisticsFeed::Forget(const FrameBitsSetup& setup) {
  statistics_.Reset(setup);
  startedLate_ = false;
  lapped_ = false;
  lostAtLeast_ = 0;
}

void StatisticsFeed::Restart(const FrameBitsSetup& setup) {
  Forget(setup);
  follower_.FromOldest();
}

void StatisticsFeed::RunStarting(const monitor::MonitorRing& ring, const FrameBitsSetup& setup) {
  Forget(setup);
  follower_.AwaitReset(ring);
}

bool StatisticsFeed::Refresh(const monitor::MonitorRing& ring) {
  const RingBatch batch = follower_.Next(ring);
  startedLate_ = startedLate_ || batch.startedLate;
  if (batch.lapped) {
    lapped_ = true;
    lostAtLeast_ += batch.lostAtLeast;
    statistics_.Gap();
  }
  statistics_.Add(batch.older);
  statistics_.Add(batch.newer);
  return batch.size() > 0;
}

std::string StatisticsFeed::LossText() const {
  std::string text;
  if (startedLate_) {
    text = "Counting began with the oldest record held; older records had been overwritten.";
  }
  if (lapped_) {
    if (!text.empty()) text += ' ';
    text += lostAtLeast_ > 0 ? "At least " + std::to_string(lostAtLeast_) +
                                   " records were overwritten before they were counted."
                             : "Records were overwritten before they were counted.";
  }
  return text;
}

}  // namespace orvane::views
