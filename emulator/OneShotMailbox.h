// The one-shot mailbox: the host fills the 14-byte entry at 0x07E0 and
// writes 1 to the handshake byte 0x07EE; at the next gap on the bus the unit
// sends the entry once and sets the handshake back to 0.
//
// A wake-up entry (kind byte 0x3X, e.g. 01 00 30 00 ...) becomes a wake-up
// pulse of the length in register 0x0413. Other entries are taken and
// released without a transmission for now; the master simulation will send
// them.
//
// Not thread-safe; owned by the firmware and driven by the LinBus.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"
#include "emulator/UnitMemory.h"

namespace orvane::emulator {

inline constexpr std::uint8_t kEntryKindWakeup = 0x30;

class OneShotMailbox final : public BusInitiator {
 public:
  explicit OneShotMailbox(UnitMemory& memory) : memory_(memory) {}

  // The host wrote the handshake at `now`.
  void Request(std::int64_t now);
  void Reset() { requested_at_.reset(); }

  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;

 private:
  UnitMemory& memory_;
  std::optional<std::int64_t> requested_at_;
};

}  // namespace orvane::emulator
