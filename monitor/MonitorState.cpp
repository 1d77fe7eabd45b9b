#include "monitor/MonitorState.h"

#include <algorithm>
#include <cstring>

namespace orvane::monitor {

MonitorRing::MonitorRing() : records_(std::make_unique<MonitorRecord[]>(MonitorCapacity)) {}

void MonitorRing::Reset() {
  std::ranges::fill(MutableRecords(), MonitorRecord{});
  position_.fetch_and(kWrappedBit, std::memory_order_release);
}

void MonitorRing::ClearWrapFlag() {
  position_.fetch_and(~kWrappedBit, std::memory_order_release);
}

// The header's bytes travel in 64-bit words, stored with release and loaded
// with acquire: a load that reads any word of a store in progress then sees
// the sequence changed.
MonitorBlockHeader LatestBlockHeader::Load() const {
  MonitorBlockHeader header;
  auto* const bytes = reinterpret_cast<unsigned char*>(&header);
  for (;;) {
    const std::uint32_t before = sequence_.load(std::memory_order_acquire);
    for (std::size_t index = 0; index < kWordCount; ++index) {
      const std::uint64_t word = words_[index].load(std::memory_order_acquire);
      std::memcpy(bytes + WordOffset(index), &word, sizeof word);
    }
    if (before % 2 == 0 && sequence_.load(std::memory_order_relaxed) == before) return header;
  }
}

void LatestBlockHeader::Store(const MonitorBlockHeader& header) {
  const auto* const bytes = reinterpret_cast<const unsigned char*>(&header);
  const std::uint32_t sequence = sequence_.load(std::memory_order_relaxed);
  sequence_.store(sequence + 1, std::memory_order_relaxed);
  for (std::size_t index = 0; index < kWordCount; ++index) {
    std::uint64_t word;
    std::memcpy(&word, bytes + WordOffset(index), sizeof word);
    words_[index].store(word, std::memory_order_release);
  }
  sequence_.store(sequence + 2, std::memory_order_release);
}

void LatestBlockHeader::ClearRecordCount() {
  MonitorBlockHeader header = Load();
  header.recordCount = 0;
  Store(header);
}

void ClearMonitorFlags(MonitorState& state) {
  state.MonitorBuffer.ClearWrapFlag();
  state.ViewBuffer.ClearWrapFlag();
  for (std::atomic<bool>& seen : state.EachIdTable.seen) seen.store(false);
  state.latestBlockHeader.ClearRecordCount();
}

void ResetMonitorData(MonitorState& state) {
  state.MonitorBuffer.Reset();
  state.ViewBuffer.Reset();
  state.viewReadPosition = 0;
  state.recordsSeen.store(0);
  state.EachIdTable.records.fill(MonitorRecord{});
  state.LastFrameTable.records.fill(MonitorRecord{});
  for (std::atomic<std::uint32_t>& counter : state.LastFrameTable.counters) counter.store(0);
}

}  // namespace orvane::monitor
