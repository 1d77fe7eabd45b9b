// The 14-byte analyzer table entry compiled from a SimSlot, and the tables
// made of it: a ScheduleTable of 32 entries per master schedule, the slave
// table of 16 entries, and the single interrupt entry sent through the
// analyzer's one-shot mailbox.
//
// These are wire formats: the analyzer reads them byte for byte from its
// table banks and mailbox. Plain data of the user-interface thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "simulation/SimRecords.h"

namespace orvane::simulation {

// Byte 0: bit 7 marks an entry changed during a run; the download of a
// running table clears the upper four bits again.
inline constexpr std::uint8_t kEntryChanged = 0x80;
inline constexpr std::uint8_t kEntryEnabled = 0x01;

// Byte 2 without an error: the command in the high nibble, Tx and Rx exchanged.
enum EntryKind : std::uint8_t {
  kKindRx = 0x00,
  kKindTx = 0x10,
  kKindSleep = 0x20,
  kKindWakeup = 0x30,
  kKindExtendedRx = 0x40,
  kKindExtendedTx = 0x50,
  kKindExtendedFile = 0x60,  // high nibble of a slot bound to an extended frame file
  kKindError = 0x70,         // | the analyzer's error code
  kKindNone = 0xF0,
};
inline constexpr std::uint8_t kKindMask = 0xF0;

#pragma pack(push, 1)
struct SimEntry {
  std::uint8_t enable;  // 0/1, bit 7 = changed during a run
  std::uint8_t oneTime;
  std::uint8_t kind;  // EntryKind, or kKindError | error code
  std::uint8_t identifier;
  // D0-D7; for an extended frame file: file index, 16-bit length, zeros.
  std::uint8_t data[kSlotDataSize];
  std::uint16_t delay;  // ms to wait after this frame (after the delay rotation)
};
#pragma pack(pop)
static_assert(sizeof(SimEntry) == 14);
static_assert(offsetof(SimEntry, data) == 4);
static_assert(offsetof(SimEntry, delay) == 12);

using ScheduleTable = std::array<SimEntry, kSlotsPerSchedule>;
static_assert(sizeof(ScheduleTable) == 448);
using ScheduleTables = std::array<ScheduleTable, kScheduleCount>;
using SlaveTable = std::array<SimEntry, kSlaveResponseCount>;
static_assert(sizeof(SlaveTable) == 224);
// The compiled InterruptSlot.
using InterruptEntry = SimEntry;

// Compiles one slot: enable, oneTime, the kind (the error's kind when the
// slot injects an error), identifier, data and the low 16 bits of the delay.
SimEntry CompileSlot(const SimSlot& slot);

// The raw bytes of an entry or a table, as the analyzer functions take them.
template <typename Table>
auto EntryBytes(Table& table) {
  using Byte = std::conditional_t<std::is_const_v<Table>, const std::uint8_t, std::uint8_t>;
  return std::span<Byte, sizeof(Table)>(reinterpret_cast<Byte*>(&table), sizeof(Table));
}

}  // namespace orvane::simulation
