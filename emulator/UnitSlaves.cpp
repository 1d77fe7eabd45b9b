#include "emulator/UnitSlaves.h"

#include "emulator/LinFrame.h"
#include "emulator/TableEntry.h"

namespace orvane::emulator {

std::optional<Response> UnitSlaves::Respond(std::uint8_t protected_id, std::int64_t) {
  const std::optional<int> bank = banks_.active();
  if (!running_ || !bank || !HasValidParity(protected_id)) return std::nullopt;
  for (std::size_t index = 0; index < kSlaveEntries; ++index) {
    const TableEntry entry = ReadBankEntry(memory_, *bank, index);
    if (entry.enabled() && entry.identifier == (protected_id & 0x3F)) {
      return transmitter_.AsSlave(entry, protected_id);
    }
  }
  return std::nullopt;
}

}  // namespace orvane::emulator
