// A host that drives the unit's master and slave simulations at pipe level
// the way the program does: tables into the free bank, then the state byte;
// mode, switches and the one-shot mailbox as register writes.
#pragma once

#include <gmock/gmock.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "emulator/TableEntry.h"
#include "emulator/UnitRecord.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator::testing {

inline constexpr std::uint8_t kStateReplace = 1;
inline constexpr std::uint8_t kStateStart = 2;

// An enabled entry.
TableEntry Entry(EntryKind kind, std::uint8_t identifier, std::initializer_list<std::uint8_t> data = {},
                 std::uint16_t delay_ms = 0);
TableEntry ErrorEntry(std::uint8_t error_code, std::uint8_t identifier,
                      std::initializer_list<std::uint8_t> data = {}, std::uint16_t delay_ms = 0);

// Microseconds a frame with `data_bytes` data bytes and a checksum lasts at
// 9600 bit/s with the unit's nominal timing.
std::int64_t FrameMicros(std::size_t data_bytes);

// The unit's time stamp (ms) of a frame that ends at `end_micros`.
std::int32_t StampOf(std::int64_t end_micros);

// A record of `kind` with `error`, `flags` and `node`.
::testing::Matcher<const UnitRecord&> IsRecord(std::uint8_t kind, std::uint8_t error, std::uint8_t flags,
                                               std::uint8_t node);

// The records on identifier `id` (bits 0-5).
std::vector<UnitRecord> OnIdentifier(const std::vector<UnitRecord>& records, std::uint8_t id);

class SimulationHost {
 public:
  explicit SimulationHost(PipeClient& client) : client_(client) {}

  // TargetGo and the analyzer mode (1 slave, 2 master).
  bool Prepare(std::uint8_t mode);
  // The entries (the rest of the table zero) into the bank 0x0416 names,
  // then `state` into its state byte. False when a write fails.
  bool Download(std::span<const TableEntry> entries, std::uint8_t state,
                std::size_t table_entries = kScheduleEntries);
  // A master schedule as the program starts one: table with state 2, run
  // once flag, schedule switch on.
  bool StartSchedule(std::span<const TableEntry> entries, bool run_once = false);
  bool SendOneShot(const TableEntry& entry);

 private:
  PipeClient& client_;
};

}  // namespace orvane::emulator::testing
