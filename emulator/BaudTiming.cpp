#include "emulator/BaudTiming.h"

#include <algorithm>

namespace orvane::emulator {

std::optional<std::uint32_t> BaudFromTiming(std::span<const std::uint8_t> timing) {
  const auto entry = std::ranges::find_if(kBaudTimingTable, [&](const BaudTimingEntry& candidate) {
    return std::ranges::equal(candidate.timing, timing);
  });
  if (entry == kBaudTimingTable.end()) return std::nullopt;
  return entry->baud;
}

std::optional<std::array<std::uint8_t, 10>> TimingForBaud(std::uint32_t baud) {
  const auto entry = std::ranges::find(kBaudTimingTable, baud, &BaudTimingEntry::baud);
  if (entry == kBaudTimingTable.end()) return std::nullopt;
  return entry->timing;
}

}  // namespace orvane::emulator
