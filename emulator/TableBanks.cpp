#include "emulator/TableBanks.h"

namespace orvane::emulator {

std::optional<std::uint8_t> TableBanks::TakeRequested(UnitMemory& memory) {
  std::optional<std::uint8_t> request;
  for (int bank = 0; bank < 2; ++bank) {
    const std::uint8_t state = memory.RamByte(kBankStateAddress[bank]);
    if (state != kBankStartSchedule && state != kBankReplaceTable) continue;
    memory.SetRamByte(kBankStateAddress[bank], kBankTaken);
    if (active_ && *active_ != bank) memory.SetRamByte(kBankStateAddress[*active_], kBankFree);
    active_ = bank;
    memory.SetRamByte(kBankSelectRegister, static_cast<std::uint8_t>(1 - bank));
    request = state;
  }
  return request;
}

}  // namespace orvane::emulator
