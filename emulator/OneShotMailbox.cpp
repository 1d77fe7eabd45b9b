#include "emulator/OneShotMailbox.h"

#include <algorithm>

#include "emulator/LinFrame.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator {

void OneShotMailbox::Request(std::int64_t now) {
  if (memory_.RamByte(kOneShotHandshakeAddress) == 1 && !requested_at_) requested_at_ = now;
}

std::optional<std::int64_t> OneShotMailbox::NextStart(std::int64_t bus_free) const {
  if (!requested_at_) return std::nullopt;
  return std::max(*requested_at_, bus_free);
}

std::optional<BusEvent> OneShotMailbox::Initiate(std::int64_t start, BusContext&) {
  requested_at_.reset();
  memory_.SetRamByte(kOneShotHandshakeAddress, 0);
  const std::uint8_t kind = memory_.RamByte(kOneShotEntryAddress + 2) & 0xF0;
  if (kind != kEntryKindWakeup) return std::nullopt;
  return WakeupPulse{start, WakeupMicros(), BusNode::kAnalyzer};
}

std::int64_t OneShotMailbox::WakeupMicros() const {
  constexpr std::uint8_t kLin20 = 1;
  constexpr double kWakeupCharacterDominantBits = 8;
  if (memory_.RamByte(kLinRevisionRegister) == kLin20) {
    return std::max<std::int64_t>(1, memory_.RamWord(kWakeupLengthRegister));
  }
  return BitsToMicros(kWakeupCharacterDominantBits, receiver_.configured_baud());
}

}  // namespace orvane::emulator
