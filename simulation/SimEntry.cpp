#include "simulation/SimEntry.h"

#include <algorithm>
#include <iterator>

namespace orvane::simulation {

namespace {

// The analyzer's code for each injectable error, indexed by the slot's error
// (1 Parity, 2 CheckSum, 3 ShortMsg, 4 SyncBreak-L, 5 SyncField, 6 SyncBreak-S).
constexpr std::uint8_t kAnalyzerErrorCode[] = {0, 1, 2, 3, 6, 7, 11};

std::uint8_t EntryKindOf(const SimSlot& slot) {
  if (slot.error != 0) {
    const std::uint8_t code = slot.error < std::size(kAnalyzerErrorCode)
                                  ? kAnalyzerErrorCode[slot.error]
                                  : static_cast<std::uint8_t>(slot.error & 0x0F);
    return kKindError | code;
  }
  std::uint8_t command = slot.command;
  if (command == kCommandTx) {
    command = kCommandRx;
  } else if (command == kCommandRx) {
    command = kCommandTx;
  }
  return static_cast<std::uint8_t>(command << 4);
}

}  // namespace

SimEntry CompileSlot(const SimSlot& slot) {
  SimEntry entry{};
  entry.enable = slot.enable;
  entry.oneTime = slot.oneTime;
  entry.kind = EntryKindOf(slot);
  entry.identifier = slot.identifier;
  std::ranges::copy(slot.data, entry.data);
  entry.delay = static_cast<std::uint16_t>(slot.delay);
  return entry;
}

}  // namespace orvane::simulation
