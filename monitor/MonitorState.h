// The shared monitor state: the MonitorBuffer and ViewBuffer rings, the
// latest block header, the records-seen marker, the per-identifier tables and
// the AcquisitionFailed flag. The application owns one MonitorState and passes
// it by reference; tests make their own.
//
// Threads and ownership:
// - The acquisition thread is the only writer of everything here, except the
//   starter's ClearMonitorFlags (called before the thread starts) and the main
//   frame clearing AcquisitionFailed after it has handled it.
// - Views read from the GUI thread without locks. A reader first takes a
//   RingSnapshot (write index and wrap flag in one atomic word, loaded with
//   acquire) and then reads the records it covers. Records are published with
//   a release store after they are written, so a snapshot never covers a
//   record that is still being written in the current lap; after a wrap a
//   record may be overwritten while it is read, which readers tolerate.
// - Table slots are rewritten all the time, so each is a SequencedValue:
//   a reader loads a consistent copy of one record. A slot is published
//   with its record first, then its seen flag or counter with release.
// Nothing here takes a lock; a load of the latest header or of a table slot
// retries while a store overlaps it.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "monitor/MonitorRecord.h"
#include "monitor/SequencedValue.h"

namespace orvane::monitor {

// Records held by each ring while monitoring; a review of a saved file
// sizes the rings to the file instead (MonitorRing::Resize).
inline constexpr std::uint32_t MonitorCapacity = 100000;

// Write index and wrap flag of a ring, read together, and its capacity.
struct RingSnapshot {
  std::uint32_t writeIndex = 0;
  bool wrapped = false;
  std::uint32_t capacity = MonitorCapacity;

  // Valid records: those before the write index, or all once wrapped.
  std::uint32_t Count() const { return wrapped ? capacity : writeIndex; }
  // Ring index of the oldest valid record.
  std::uint32_t Oldest() const { return wrapped ? writeIndex : 0; }
  // Ring index of the record at `position` (0 = oldest) in age order.
  std::uint32_t IndexOf(std::uint32_t position) const { return (Oldest() + position) % capacity; }
};

// A ring of records, zeroed and allocated on the heap: MonitorCapacity of
// them unless resized.
class MonitorRing {
 public:
  MonitorRing();

  // Any thread. Acquire load of write index and wrap flag.
  RingSnapshot Snapshot() const {
    const std::uint32_t position = position_.load(std::memory_order_acquire);
    return RingSnapshot{position & ~kWrappedBit, (position & kWrappedBit) != 0, capacity_};
  }
  std::uint32_t Capacity() const { return capacity_; }
  std::span<const MonitorRecord> Records() const {
    return std::span<const MonitorRecord>(records_.get(), capacity_);
  }

  // Writer only: records are written through MutableRecords, then made
  // visible with Publish (release).
  std::span<MonitorRecord> MutableRecords() {
    return std::span<MonitorRecord>(records_.get(), capacity_);
  }
  void Publish(std::uint32_t writeIndex, bool wrapped) {
    position_.store(writeIndex | (wrapped ? kWrappedBit : 0u), std::memory_order_release);
  }
  // Zeroes every record and the write index; the wrap flag is left alone
  // (the starter clears it with ClearWrapFlag).
  void Reset();
  void ClearWrapFlag();
  // Makes the ring hold `capacity` records (1 to 2^31 - 1), all zero, with
  // write index and wrap flag cleared. Only while no thread reads or writes
  // the ring: no acquisition thread runs and the caller is the views' thread.
  void Resize(std::uint32_t capacity);

 private:
  static constexpr std::uint32_t kWrappedBit = 0x80000000u;

  std::uint32_t capacity_ = MonitorCapacity;
  std::unique_ptr<MonitorRecord[]> records_;
  std::atomic<std::uint32_t> position_{0};  // write index | kWrappedBit
};

// A copy of the most recent MonitorBlockHeader. Written by the acquisition
// thread once per block (or by the starter while no acquisition thread
// runs), read by the status and simulation monitor windows and by the
// stopper, each load a consistent copy of one store.
class LatestBlockHeader : public SequencedValue<MonitorBlockHeader> {
 public:
  // Writer side, like Store.
  void ClearRecordCount();
};

inline constexpr int kEachIdSlotCount = 72;
inline constexpr int kWakeupSlot = 64;
inline constexpr int kFirstIoSlot = 65;  // slots 65-70 hold I/O kinds 10-15
inline constexpr int kErrorSlot = 71;

// The latest record of every identifier, wake-up, I/O event and error.
struct EachIdSlots {
  std::array<SequencedValue<MonitorRecord>, kEachIdSlotCount> records{};
  std::array<std::atomic<bool>, kEachIdSlotCount> seen{};
};

// The latest complete frame (kind 1) of every identifier and how often it came.
struct LastFrameSlots {
  std::array<SequencedValue<MonitorRecord>, kIdentifierCount> records{};
  std::array<std::atomic<std::uint32_t>, kIdentifierCount> counters{};
};

struct MonitorState {
  MonitorRing MonitorBuffer;  // raw records as the analyzer delivered them
  MonitorRing ViewBuffer;     // extended frames merged, monitor mask applied
  // Next MonitorBuffer record for the view builder; acquisition thread only.
  std::uint32_t viewReadPosition = 0;
  LatestBlockHeader latestBlockHeader;
  // 0 until the first block carrying records, then that block's record count.
  std::atomic<std::uint32_t> recordsSeen{0};
  EachIdSlots EachIdTable;
  LastFrameSlots LastFrameTable;
  // Set by the acquisition thread when it ends on an error; cleared by the
  // main frame once handled.
  std::atomic<bool> AcquisitionFailed{false};
};

// The starter's step just before MonitorStart: clears both wrap flags and the
// EachIdTable seen flags and sets the latest header's record count to 0.
// Call while no acquisition thread runs.
void ClearMonitorFlags(MonitorState& state);

// The acquisition thread's first step: zeroes both rings, their write
// indices, the view builder's read position, the records-seen marker, the
// EachIdTable records and the LastFrameTable records and counters.
void ResetMonitorData(MonitorState& state);

}  // namespace orvane::monitor
