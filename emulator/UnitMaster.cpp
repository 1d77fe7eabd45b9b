#include "emulator/UnitMaster.h"

#include <algorithm>

#include "emulator/MemoryMap.h"

namespace orvane::emulator {

void UnitMaster::SetRunning(bool running, std::int64_t now) {
  if (running && !state_.running) state_.next_start = std::max(state_.next_start, now);
  state_.running = running;
}

void UnitMaster::StartSchedule(std::int64_t now) {
  const bool running = state_.running;
  state_ = {};
  state_.running = running;
  state_.next_start = now;
}

void UnitMaster::TableReplaced() {
  for (std::size_t index = 0; index < kScheduleEntries; ++index) {
    const std::optional<TableEntry> entry = Entry(index);
    if (entry && entry->changed()) state_.sent_once.reset(index);
  }
  SettleCycle();
}

std::optional<std::int64_t> UnitMaster::NextStart(std::int64_t bus_free) const {
  if (!state_.running || state_.ended || !NextDue(state_.next_index)) return std::nullopt;
  return std::max(state_.next_start, bus_free);
}

std::optional<BusEvent> UnitMaster::Initiate(std::int64_t start, BusContext& bus) {
  const std::optional<std::size_t> index = NextDue(state_.next_index);
  if (!index) return std::nullopt;
  const TableEntry entry = *Entry(*index);
  std::optional<BusEvent> event = transmitter_.AsMaster(entry, start, bus);
  if (entry.one_time != 0) state_.sent_once.set(*index);
  state_.next_index = *index + 1;
  state_.next_start = (event ? EventEnd(*event) : start) + std::int64_t{entry.delay_ms} * 1000;
  SettleCycle();
  return event;
}

std::optional<TableEntry> UnitMaster::Entry(std::size_t index) const {
  const std::optional<int> bank = banks_.active();
  if (!bank) return std::nullopt;
  return ReadBankEntry(memory_, *bank, index);
}

bool UnitMaster::IsDue(std::size_t index) const {
  const std::optional<TableEntry> entry = Entry(index);
  return entry && entry->enabled() && !(entry->one_time != 0 && state_.sent_once.test(index)) &&
         transmitter_.SendsAsMaster(*entry);
}

std::optional<std::size_t> UnitMaster::NextDue(std::size_t from) const {
  for (std::size_t index = from; index < kScheduleEntries; ++index) {
    if (IsDue(index)) return index;
  }
  return std::nullopt;
}

void UnitMaster::SettleCycle() {
  if (state_.next_index == 0 || NextDue(state_.next_index)) return;
  state_.next_index = 0;
  ++state_.cycles_completed;
  state_.ended = memory_.RamByte(kRunOnceRegister) == 1;
}

}  // namespace orvane::emulator
