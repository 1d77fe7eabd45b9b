// The unit's master simulation: runs the 32-entry schedule of the active
// table bank as the bus master.
//
// Entry by entry in index order it sends each enabled entry (byte 0 bit 0)
// that puts anything on the bus (UnitTransmitter), then waits the entry's
// delay (bytes 12-13, ms, counted from the end of the transmission) before
// the next one starts. Entries that send nothing (kind none or unknown) and
// one-time entries already sent are passed over without a wait. A cycle is
// complete once no entry after the last one sent is left to send; then the
// schedule starts over at entry 0, unless the run-once flag 0x0410 is 1 at
// that moment, which ends the schedule.
//
// A one-time entry (byte 1 = 1) is sent once per run. A table taken with
// state 1 replaces the running one without restarting: the next entry sent
// is the next index of the new table, and a one-time entry the new table
// marks changed (byte 0 bit 7) may be sent once more. A table taken with
// state 2, and the start of monitoring, start the schedule over from entry 0
// with every one-time entry unsent and the cycle count at 0.
//
// The table is read from the active bank at each transmission, so what the
// unit sends always follows the table it holds.
//
// Not thread-safe; owned by the firmware and driven by the LinBus.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"
#include "emulator/TableBanks.h"
#include "emulator/TableEntry.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitTransmitter.h"

namespace orvane::emulator {

class UnitMaster final : public BusInitiator {
 public:
  UnitMaster(const UnitMemory& memory, const TableBanks& banks, const UnitTransmitter& transmitter)
      : memory_(memory), banks_(banks), transmitter_(transmitter) {}

  // Whether the schedule may run (firmware running, monitoring, master
  // simulation mode, schedule switch on). A schedule allowed again at `now`
  // goes on where it stopped, no earlier than `now`.
  void SetRunning(bool running, std::int64_t now);
  // A table taken with state 2, or monitoring started at `now`.
  void StartSchedule(std::int64_t now);
  // A table taken with state 1.
  void TableReplaced();

  // Cycles completed since the schedule started (wraps at 16 bits).
  std::uint16_t cycles_completed() const { return state_.cycles_completed; }

  // Power-on: stopped, nothing sent.
  void Reset() { state_ = {}; }

  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;

 private:
  struct State {
    bool running = false;
    bool ended = false;  // a run-once schedule completed its cycle
    std::size_t next_index = 0;
    std::int64_t next_start = 0;
    std::bitset<kScheduleEntries> sent_once;
    std::uint16_t cycles_completed = 0;
  };

  std::optional<TableEntry> Entry(std::size_t index) const;
  bool IsDue(std::size_t index) const;
  // The first entry at or after `from` that is due in this cycle.
  std::optional<std::size_t> NextDue(std::size_t from) const;
  // Completes the cycle when nothing after the next index is due.
  void SettleCycle();

  const UnitMemory& memory_;
  const TableBanks& banks_;
  const UnitTransmitter& transmitter_;
  State state_;
};

}  // namespace orvane::emulator
