#include "monitor/MonitorUpdate.h"

#include <algorithm>
#include <cstring>

namespace orvane::monitor {

namespace {

std::uint32_t NextIndex(std::uint32_t index, std::uint32_t step) {
  return (index + step) % MonitorCapacity;
}

// Records from `from` up to `to` in ring order; `from == to` means none.
std::uint32_t RecordsBetween(std::uint32_t from, std::uint32_t to) {
  return (to + MonitorCapacity - from) % MonitorCapacity;
}

int TableSlot(const MonitorRecord& record, int sortOrder, const IdentifierSlotMap* nodeOrder) {
  if (record.IsErrorEvent()) return kErrorSlot;
  if (record.kind == kKindWakeup) return kWakeupSlot;
  if (record.IsIoEvent()) return kFirstIoSlot + record.IoEventIndex();
  const int identifier = record.Identifier();
  if (sortOrder == 1 && nodeOrder != nullptr) {
    const int slot = nodeOrder->SlotFor(identifier);
    // A map answering outside 0-63 would land in the special slots; keep the
    // record in its identifier's own slot instead.
    if (slot >= 0 && slot < kIdentifierCount) return slot;
  }
  return identifier;
}

}  // namespace

bool MonitorMask::Passes(const MonitorRecord& record) const {
  if (!MaskEnabled) return true;
  const int identifier = record.Identifier();
  return std::ranges::any_of(MaskIds, [identifier](std::uint8_t id) { return id == identifier; });
}

void AppendBlock(MonitorState& state, std::span<const MonitorRecord> records,
                 const MonitorBlockHeader& header) {
  MonitorRing& ring = state.MonitorBuffer;
  const RingSnapshot before = ring.Snapshot();
  std::uint32_t writeIndex = before.writeIndex;
  bool wrapped = before.wrapped;
  const std::span<MonitorRecord, MonitorCapacity> storage = ring.MutableRecords();
  while (!records.empty()) {
    const std::size_t chunk = std::min<std::size_t>(records.size(), MonitorCapacity - writeIndex);
    std::memcpy(&storage[writeIndex], records.data(), chunk * sizeof(MonitorRecord));
    records = records.subspan(chunk);
    writeIndex += static_cast<std::uint32_t>(chunk);
    if (writeIndex == MonitorCapacity) {
      writeIndex = 0;
      wrapped = true;
    }
  }
  ring.Publish(writeIndex, wrapped);

  state.latestBlockHeader.Store(header);
  if (state.recordsSeen.load(std::memory_order_relaxed) == 0) {
    state.recordsSeen.store(header.recordCount, std::memory_order_release);
  }
}

MonitorRecord MergeExtendedHeader(const MonitorRecord& header, const MonitorRecord* next) {
  MonitorRecord merged = header;
  const int shown = std::min(header.ExtLength(), kMergedDataLengthMax);
  merged.kind = static_cast<std::uint8_t>((header.kind & 0x0F) | (shown << 4));
  std::span<std::uint8_t, kMonitorRecordSize> bytes = merged.MutableBytes();
  std::ranges::copy(header.ExtendedHeaderData(), bytes.begin() + 10);
  if (next != nullptr) {
    bytes[17] = next->Bytes()[0];
    bytes[18] = next->Bytes()[1];
  }
  return merged;
}

void UpdateViewBuffer(MonitorState& state, const MonitorMask& mask) {
  const std::span<const MonitorRecord, MonitorCapacity> source = state.MonitorBuffer.Records();
  const std::uint32_t rawWriteIndex = state.MonitorBuffer.Snapshot().writeIndex;
  MonitorRing& view = state.ViewBuffer;
  const std::span<MonitorRecord, MonitorCapacity> target = view.MutableRecords();
  const RingSnapshot viewBefore = view.Snapshot();
  std::uint32_t viewIndex = viewBefore.writeIndex;
  bool viewWrapped = viewBefore.wrapped;
  std::uint32_t readPosition = state.viewReadPosition;

  while (readPosition != rawWriteIndex) {
    const MonitorRecord& record = source[readPosition];
    const int groupSize = record.GroupSize();
    if (groupSize == 0) {
      target[viewIndex] = record;
      readPosition = NextIndex(readPosition, 1);
    } else {
      // Wait for the rest of the group; the header is taken again next time.
      if (static_cast<std::uint32_t>(groupSize) > RecordsBetween(readPosition, rawWriteIndex)) {
        break;
      }
      const MonitorRecord* next = groupSize >= 2 ? &source[NextIndex(readPosition, 1)] : nullptr;
      target[viewIndex] = MergeExtendedHeader(record, next);
      readPosition = NextIndex(readPosition, static_cast<std::uint32_t>(groupSize));
    }
    if (mask.Passes(record)) {
      viewIndex = NextIndex(viewIndex, 1);
      if (viewIndex == 0) viewWrapped = true;
    }
  }

  state.viewReadPosition = readPosition;
  view.Publish(viewIndex, viewWrapped);
}

std::uint32_t UpdateIdTables(MonitorState& state, std::uint32_t previousWriteIndex, int sortOrder,
                             const IdentifierSlotMap* nodeOrder) {
  const std::span<const MonitorRecord, MonitorCapacity> view = state.ViewBuffer.Records();
  const std::uint32_t writeIndex = state.ViewBuffer.Snapshot().writeIndex;
  EachIdSlots& eachId = state.EachIdTable;
  LastFrameSlots& lastFrames = state.LastFrameTable;

  for (std::uint32_t index = previousWriteIndex % MonitorCapacity; index != writeIndex;
       index = NextIndex(index, 1)) {
    const MonitorRecord& record = view[index];
    const int slot = TableSlot(record, sortOrder, nodeOrder);
    eachId.records[slot] = record;
    eachId.seen[slot].store(true, std::memory_order_release);

    if (record.kind == kKindEnd) {
      const int identifier = record.Identifier();
      lastFrames.records[identifier] = record;
      // Single writer: a plain load and store, no read-modify-write needed.
      std::atomic<std::uint32_t>& counter = lastFrames.counters[identifier];
      const std::uint32_t count = counter.load(std::memory_order_relaxed) + 1;
      counter.store(count == 0 ? 1 : count, std::memory_order_release);
    }
  }
  return writeIndex;
}

}  // namespace orvane::monitor
