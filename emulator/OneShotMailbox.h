// The one-shot mailbox: the host fills the 14-byte entry at 0x07E0 and
// writes 1 to the handshake byte 0x07EE; at the next gap on the bus the unit
// sends the entry once (UnitTransmitter, as master) and sets the handshake
// back to 0.
//
// A wake-up entry (kind byte 0x3X, e.g. 01 00 30 00 ...) is sent in every
// mode. Any other entry is the master simulation's interrupt frame: it is
// sent only in master simulation (mode 2) with the interrupt switch 0x0411
// on; otherwise it is taken and released without a transmission. The
// entry's enable byte is not looked at: the handshake is the request.
//
// Not thread-safe; owned by the firmware and driven by the LinBus.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitTransmitter.h"

namespace orvane::emulator {

class OneShotMailbox final : public BusInitiator {
 public:
  OneShotMailbox(UnitMemory& memory, const UnitTransmitter& transmitter)
      : memory_(memory), transmitter_(transmitter) {}

  // The host wrote the handshake at `now`.
  void Request(std::int64_t now);
  void Reset() { requested_at_.reset(); }

  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;

 private:
  bool InterruptsEnabled() const;

  UnitMemory& memory_;
  const UnitTransmitter& transmitter_;
  std::optional<std::int64_t> requested_at_;
};

}  // namespace orvane::emulator
