// The one-shot mailbox: the host fills the 14-byte entry at 0x07E0 and
// writes 1 to the handshake byte 0x07EE; at the next gap on the bus the unit
// sends the entry once and sets the handshake back to 0.
//
// A wake-up entry (kind byte 0x3X, e.g. 01 00 30 00 ...) becomes a wake-up
// signal as the LIN revision in register 0x0415 defines it: under LIN 2.0 a
// dominant pulse of the length in register 0x0413, under LIN 1.3 the
// wake-up character 0x80 (eight dominant bit times at the unit's baud
// rate). Other entries are taken and
// released without a transmission for now; the master simulation will send
// them.
//
// Not thread-safe; owned by the firmware and driven by the LinBus.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitReceiver.h"

namespace orvane::emulator {

inline constexpr std::uint8_t kEntryKindWakeup = 0x30;

class OneShotMailbox final : public BusInitiator {
 public:
  OneShotMailbox(UnitMemory& memory, const UnitReceiver& receiver)
      : memory_(memory), receiver_(receiver) {}

  // The host wrote the handshake at `now`.
  void Request(std::int64_t now);
  void Reset() { requested_at_.reset(); }

  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;

 private:
  std::int64_t WakeupMicros() const;

  UnitMemory& memory_;
  const UnitReceiver& receiver_;
  std::optional<std::int64_t> requested_at_;
};

}  // namespace orvane::emulator
