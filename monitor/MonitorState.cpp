#include "monitor/MonitorState.h"

#include <algorithm>

namespace orvane::monitor {

MonitorRing::MonitorRing() : records_(std::make_unique<MonitorRecord[]>(MonitorCapacity)) {}

void MonitorRing::Resize(std::uint32_t capacity) {
  if (capacity != capacity_) {
    records_ = std::make_unique<MonitorRecord[]>(capacity);
    capacity_ = capacity;
  } else {
    std::ranges::fill(MutableRecords(), MonitorRecord{});
  }
  position_.store(0, std::memory_order_release);
}

void MonitorRing::Reset() {
  std::ranges::fill(MutableRecords(), MonitorRecord{});
  position_.fetch_and(kWrappedBit, std::memory_order_release);
}

void MonitorRing::ClearWrapFlag() {
  position_.fetch_and(~kWrappedBit, std::memory_order_release);
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
  for (SequencedValue<MonitorRecord>& slot : state.EachIdTable.records) slot.Store({});
  for (SequencedValue<MonitorRecord>& slot : state.LastFrameTable.records) slot.Store({});
  for (std::atomic<std::uint32_t>& counter : state.LastFrameTable.counters) counter.store(0);
}

}  // namespace orvane::monitor
