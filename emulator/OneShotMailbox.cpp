#include "emulator/OneShotMailbox.h"

#include <algorithm>

#include "emulator/MemoryMap.h"

namespace orvane::emulator {

void OneShotMailbox::Request(std::int64_t now) {
  if (memory_.RamByte(kOneShotHandshakeAddress) == 1 && !requested_at_) requested_at_ = now;
}

std::optional<std::int64_t> OneShotMailbox::NextStart(std::int64_t bus_free) const {
  if (!requested_at_) return std::nullopt;
  return std::max(*requested_at_, bus_free);
}

std::optional<BusEvent> OneShotMailbox::Initiate(std::int64_t start, BusContext& bus) {
  requested_at_.reset();
  memory_.SetRamByte(kOneShotHandshakeAddress, 0);
  const TableEntry entry = ReadTableEntry(memory_, kOneShotEntryAddress);
  if (entry.what() != EntryKind::kWakeup && !InterruptsEnabled()) return std::nullopt;
  return transmitter_.AsMaster(entry, start, bus);
}

bool OneShotMailbox::InterruptsEnabled() const {
  return static_cast<UnitMode>(memory_.RamByte(kModeRegister)) == UnitMode::kMasterSimulation &&
         memory_.RamByte(kInterruptSwitchRegister) != 0;
}

}  // namespace orvane::emulator
