// The unit's slave simulation: answers the headers of the bus master with
// the 16-entry slave table of the active table bank.
//
// For a header with valid parity, the first enabled entry (byte 0 bit 0)
// holding its identifier answers as UnitTransmitter::AsSlave says. The
// table is read at every header, so a table taken with state 1 is in force
// from the next header on. The firmware adds this responder ahead of the
// demo slaves: for an identifier the unit answers, the demo slave that
// publishes it stays silent.
//
// Not thread-safe; owned by the firmware and driven by the LinBus.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"
#include "emulator/TableBanks.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitTransmitter.h"

namespace orvane::emulator {

class UnitSlaves final : public BusResponder {
 public:
  UnitSlaves(const UnitMemory& memory, const TableBanks& banks, const UnitTransmitter& transmitter)
      : memory_(memory), banks_(banks), transmitter_(transmitter) {}

  // Whether the unit answers (firmware running, monitoring, slave
  // simulation mode).
  void SetRunning(bool running) { running_ = running; }

  std::optional<Response> Respond(std::uint8_t protected_id, std::int64_t time) override;

 private:
  const UnitMemory& memory_;
  const TableBanks& banks_;
  const UnitTransmitter& transmitter_;
  bool running_ = false;
};

}  // namespace orvane::emulator
