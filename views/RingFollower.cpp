#include "views/RingFollower.h"

#include <algorithm>

namespace orvane::views {
namespace {

using monitor::MonitorRecord;

// `count` records from ring index `from` on, across the end of the ring.
RingBatch Range(std::span<const MonitorRecord> records, std::uint32_t from, std::uint32_t count) {
  const std::uint32_t capacity = static_cast<std::uint32_t>(records.size());
  const std::uint32_t toEnd = std::min(count, capacity - from);
  RingBatch batch;
  batch.older = records.subspan(from, toEnd);
  batch.newer = records.first(count - toEnd);
  return batch;
}

bool SameBytes(const MonitorRecord& a, const MonitorRecord& b) {
  return std::ranges::equal(a.Bytes(), b.Bytes());
}

}  // namespace

void RingFollower::FromOldest() {
  mode_ = Mode::kFromOldest;
}

void RingFollower::AwaitReset(const monitor::MonitorRing& ring) {
  const monitor::RingSnapshot snapshot = ring.Snapshot();
  mode_ = Mode::kAwaitingReset;
  capacity_ = snapshot.capacity;
  awaitedIndex_ = snapshot.writeIndex;
}

void RingFollower::EndAwaitingReset() {
  if (mode_ == Mode::kAwaitingReset) mode_ = Mode::kFromOldest;
}

RingBatch RingFollower::Next(const monitor::MonitorRing& ring) {
  const monitor::RingSnapshot snapshot = ring.Snapshot();
  const std::span<const MonitorRecord> records = ring.Records();
  const std::uint32_t capacity = snapshot.capacity;
  // A resized ring holds other records from its first slot on.
  if (capacity != capacity_) {
    capacity_ = capacity;
    mode_ = Mode::kFromOldest;
  }
  if (mode_ == Mode::kAwaitingReset) {
    // The reset sets the write index to 0; the wrap flag was cleared at the
    // start, so a wrapped ring has been written since.
    if (!snapshot.wrapped && snapshot.writeIndex == awaitedIndex_) return {};
    mode_ = Mode::kFromOldest;
  }

  RingBatch batch;
  if (mode_ == Mode::kFromOldest) {
    batch = Range(records, snapshot.Oldest(), snapshot.Count());
    batch.startedLate = snapshot.wrapped;
    batch.fromOldest = true;
  } else if (!SameBytes(records[(position_ + capacity - 1) % capacity], lastHandedOver_)) {
    batch = Range(records, snapshot.Oldest(), snapshot.Count());
    batch.lapped = true;
    batch.fromOldest = true;
    batch.lostAtLeast = (snapshot.writeIndex + capacity - position_) % capacity;
  } else {
    batch = Range(records, position_, (snapshot.writeIndex + capacity - position_) % capacity);
  }
  position_ = snapshot.writeIndex;
  if (batch.size() > 0) {
    lastHandedOver_ = records[(position_ + capacity - 1) % capacity];
    mode_ = Mode::kFollowing;
  }
  return batch;
}

}  // namespace orvane::views
