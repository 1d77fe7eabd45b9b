#include "monitor/MonitorUpdate.h"

#include <algorithm>
#include <cstring>

namespace orvane::monitor {

namespace {

// Ring index `step` records after `index`, for a step of at most a lap.
std::uint32_t Advance(std::uint32_t index, std::uint32_t step, std::uint32_t capacity) {
  const std::uint32_t next = index + step;
  return next >= capacity ? next - capacity : next;
}

// Records from `from` up to `to` in ring order; `from == to` means none.
std::uint32_t RecordsBetween(std::uint32_t from, std::uint32_t to, std::uint32_t capacity) {
  return to >= from ? to - from : to + capacity - from;
}

// Records from `from` towards `to` before the ring's end is reached.
std::uint32_t ContiguousRecords(std::uint32_t from, std::uint32_t to, std::uint32_t capacity) {
  return to > from ? to - from : capacity - from;
}

constexpr std::uint64_t kAllVisible = ~std::uint64_t{0};

// `nodeOrder` is the map in force (node order selected and a map given) or null.
int TableSlot(const MonitorRecord& record, const IdentifierSlotMap* nodeOrder) {
  if (record.IsErrorEvent()) return kErrorSlot;
  if (record.kind == kKindWakeup) return kWakeupSlot;
  if (record.IsIoEvent()) return kFirstIoSlot + record.IoEventIndex();
  const int identifier = record.Identifier();
  if (nodeOrder != nullptr) {
    const int slot = nodeOrder->SlotFor(identifier);
    // A map answering outside 0-63 would land in the special slots; keep the
    // record in its identifier's own slot instead.
    if (slot >= 0 && slot < kIdentifierCount) return slot;
  }
  return identifier;
}

void StoreInTables(MonitorState& state, const MonitorRecord& record,
                   const IdentifierSlotMap* nodeOrder) {
  const int slot = TableSlot(record, nodeOrder);
  state.EachIdTable.records[slot].Store(record);
  state.EachIdTable.seen[slot].store(true, std::memory_order_release);

  if (record.kind == kKindEnd) {
    const int identifier = record.Identifier();
    state.LastFrameTable.records[identifier].Store(record);
    // Single writer: a plain load and store, no read-modify-write needed.
    std::atomic<std::uint32_t>& counter = state.LastFrameTable.counters[identifier];
    const std::uint32_t count = counter.load(std::memory_order_relaxed) + 1;
    counter.store(count == 0 ? 1 : count, std::memory_order_release);
  }
}

}  // namespace

std::uint64_t MonitorMask::VisibleIdentifiers() const {
  if (!MaskEnabled) return kAllVisible;
  std::uint64_t visible = 0;
  for (const std::uint8_t id : MaskIds) {
    if (id < kIdentifierCount) visible |= std::uint64_t{1} << id;
  }
  return visible;
}

void AppendBlock(MonitorState& state, std::span<const MonitorRecord> records,
                 const MonitorBlockHeader& header) {
  MonitorRing& ring = state.MonitorBuffer;
  const RingSnapshot before = ring.Snapshot();
  std::uint32_t writeIndex = before.writeIndex;
  bool wrapped = before.wrapped;
  const std::span<MonitorRecord> storage = ring.MutableRecords();
  const std::uint32_t capacity = ring.Capacity();
  while (!records.empty()) {
    const std::size_t chunk = std::min<std::size_t>(records.size(), capacity - writeIndex);
    std::memcpy(&storage[writeIndex], records.data(), chunk * sizeof(MonitorRecord));
    records = records.subspan(chunk);
    writeIndex += static_cast<std::uint32_t>(chunk);
    if (writeIndex == capacity) {
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
  const std::span<const MonitorRecord> source = state.MonitorBuffer.Records();
  const std::uint32_t rawWriteIndex = state.MonitorBuffer.Snapshot().writeIndex;
  const std::uint32_t rawCapacity = state.MonitorBuffer.Capacity();
  MonitorRing& view = state.ViewBuffer;
  const std::span<MonitorRecord> target = view.MutableRecords();
  const std::uint32_t viewCapacity = view.Capacity();
  const RingSnapshot viewBefore = view.Snapshot();
  const std::uint64_t visible = mask.VisibleIdentifiers();
  std::uint32_t viewIndex = viewBefore.writeIndex;
  bool viewWrapped = viewBefore.wrapped;
  std::uint32_t readPosition = state.viewReadPosition;

  auto commit = [&](std::uint32_t count) {
    viewIndex = Advance(viewIndex, count, viewCapacity);
    if (viewIndex == 0) viewWrapped = true;
  };

  while (readPosition != rawWriteIndex) {
    // Runs of visible ordinary records are copied as they are, in one piece.
    const std::uint32_t limit = std::min(
        ContiguousRecords(readPosition, rawWriteIndex, rawCapacity), viewCapacity - viewIndex);
    const MonitorRecord* const first = &source[readPosition];
    std::uint32_t run = 0;
    if (visible == kAllVisible) {  // mask off: no identifier test per record
      while (run < limit && !first[run].IsExtendedHeader()) ++run;
    } else {
      while (run < limit && !first[run].IsExtendedHeader() && MonitorMask::IsVisible(first[run], visible)) ++run;
    }
    if (run > 0) {
      std::memcpy(&target[viewIndex], first, run * sizeof(MonitorRecord));
      readPosition = Advance(readPosition, run, rawCapacity);
      commit(run);
      continue;
    }

    const MonitorRecord& record = source[readPosition];
    const int groupSize = record.GroupSize();
    if (groupSize == 0) {  // an ordinary record the mask hides
      readPosition = Advance(readPosition, 1, rawCapacity);
      continue;
    }
    // Wait for the rest of the group; the header is taken again next time.
    if (static_cast<std::uint32_t>(groupSize) >
        RecordsBetween(readPosition, rawWriteIndex, rawCapacity)) {
      break;
    }
    const MonitorRecord* next =
        groupSize >= 2 ? &source[Advance(readPosition, 1, rawCapacity)] : nullptr;
    readPosition = Advance(readPosition, static_cast<std::uint32_t>(groupSize), rawCapacity);
    if (MonitorMask::IsVisible(record, visible)) {
      target[viewIndex] = MergeExtendedHeader(record, next);
      commit(1);
    }
  }

  state.viewReadPosition = readPosition;
  view.Publish(viewIndex, viewWrapped);
}

void RebuildIdTablesUpTo(MonitorState& state, std::uint32_t lastIndex, int sortOrder,
                         const IdentifierSlotMap* nodeOrder) {
  for (std::size_t slot = 0; slot < state.EachIdTable.records.size(); ++slot) {
    state.EachIdTable.seen[slot].store(false, std::memory_order_relaxed);
    state.EachIdTable.records[slot].Store({});
  }
  for (std::size_t identifier = 0; identifier < state.LastFrameTable.records.size(); ++identifier) {
    state.LastFrameTable.counters[identifier].store(0, std::memory_order_relaxed);
    state.LastFrameTable.records[identifier].Store({});
  }
  const IdentifierSlotMap* const mapInForce = sortOrder == 1 ? nodeOrder : nullptr;
  const RingSnapshot snapshot = state.ViewBuffer.Snapshot();
  const std::span<const MonitorRecord> view = state.ViewBuffer.Records();
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    const std::uint32_t index = snapshot.IndexOf(position);
    StoreInTables(state, view[index], mapInForce);
    if (index == lastIndex) break;
  }
}

std::uint32_t UpdateIdTables(MonitorState& state, std::uint32_t previousWriteIndex, int sortOrder,
                             const IdentifierSlotMap* nodeOrder) {
  const std::span<const MonitorRecord> view = state.ViewBuffer.Records();
  const std::uint32_t writeIndex = state.ViewBuffer.Snapshot().writeIndex;
  const std::uint32_t capacity = state.ViewBuffer.Capacity();
  const IdentifierSlotMap* const mapInForce = sortOrder == 1 ? nodeOrder : nullptr;
  std::uint32_t index = previousWriteIndex % capacity;
  while (index != writeIndex) {
    const std::uint32_t count = ContiguousRecords(index, writeIndex, capacity);
    for (const MonitorRecord& record : view.subspan(index, count)) {
      StoreInTables(state, record, mapInForce);
    }
    index = Advance(index, count, capacity);
  }
  return writeIndex;
}

}  // namespace orvane::monitor
