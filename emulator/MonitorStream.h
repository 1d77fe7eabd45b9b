// The unit's monitor output: records buffered while monitoring runs, sent in
// blocks of a header and at most 25 records.
//
// A block is due 20 ms after the previous one; while more records wait than
// one block holds, the next block is due at once so that a backlog drains
// at pipe speed. Blocks keep coming with 0 records when nothing happened or
// monitoring has stopped, so a host that reads until an empty block drains
// the records that were still buffered at MonitorStop.
//
// The unit buffers at most kBufferCapacity records. When the host does not
// read, newer records are lost; the first record that fits again is preceded
// by a (Buffer) error record, so the host learns of the gap.
//
// Not thread-safe; the owner serialises access.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "emulator/UnitRecord.h"

namespace orvane::emulator {

class MonitorStream {
 public:
  static constexpr std::int64_t kBlockPeriodMicros = 20000;
  static constexpr std::size_t kMaxRecordsPerBlock = 25;
  static constexpr std::size_t kMaxBlockSize = 512;
  static constexpr std::size_t kBufferCapacity = 4096;

  // Start drops whatever a previous run left; Stop keeps the buffered
  // records for the blocks still to come.
  void Start();
  void Stop();
  bool running() const { return running_; }

  // Buffers records while running; drops them otherwise or when full.
  void Push(const UnitRecord& record);
  void Push(std::span<const UnitRecord> records);

  // Clock time (microseconds) at which the next block is due.
  std::int64_t NextBlockDue() const;

  // The next block at time now, with the header fields other than the
  // record count taken from `header`.
  std::vector<std::uint8_t> TakeBlock(std::int64_t now, UnitBlockHeader header);

  // Fault injection: the next block announces `announced` records and is as
  // long as one 512-byte read can hold, whatever is buffered.
  void AnnounceOversizedNextBlock(std::uint8_t announced);

  // Forgets everything (power-on).
  void Reset();

 private:
  bool running_ = false;
  std::deque<UnitRecord> pending_;
  std::int64_t last_block_ = 0;
  bool overflowed_ = false;
  std::uint8_t oversized_announcement_ = 0;
};

}  // namespace orvane::emulator
