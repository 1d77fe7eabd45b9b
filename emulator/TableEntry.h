// The 14-byte table entry as the unit's firmware reads it from a table bank
// (32 entries of a master schedule, 16 of the slave table) or from the
// one-shot mailbox:
//
//   byte 0      bit 0 enabled; bit 7 marks an entry changed while running
//   byte 1      1 = one time: sent once per run
//   byte 2      kind: high nibble what to send, low nibble an error code
//   byte 3      identifier 0-63
//   bytes 4-11  data D0-D7; an extended-file entry: file index 0-3, then
//               the file's length (16-bit), then zeros
//   bytes 12-13 delay in ms to wait after this frame
//
// Plain values and pure functions; any thread may use them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "emulator/UnitMemory.h"

namespace orvane::emulator {

// High nibble of the kind byte.
enum class EntryKind : std::uint8_t {
  kRx = 0x00,            // header; a slave answers
  kTx = 0x10,            // header and the entry's data
  kSleep = 0x20,         // go-to-sleep command
  kWakeup = 0x30,        // wake-up signal
  kExtendedRx = 0x40,    // header of an extended frame
  kExtendedTx = 0x50,    // extended frame with the entry's data
  kExtendedFile = 0x60,  // extended frame with an extended file's data; low nibble an error code
  kError = 0x70,         // Tx with the error of the low nibble injected
  kNone = 0xF0,          // nothing
};

inline constexpr std::uint8_t kEntryEnabled = 0x01;
inline constexpr std::size_t kTableEntrySize = 14;
inline constexpr std::size_t kScheduleEntries = 32;
inline constexpr std::size_t kSlaveEntries = 16;

#pragma pack(push, 1)
struct TableEntry {
  std::uint8_t enable = 0;
  std::uint8_t one_time = 0;
  std::uint8_t kind = 0;
  std::uint8_t identifier = 0;
  std::uint8_t data[8] = {};
  std::uint16_t delay_ms = 0;

  EntryKind what() const { return static_cast<EntryKind>(kind & 0xF0); }
  std::uint8_t error_code() const { return kind & 0x0F; }
  bool enabled() const { return (enable & kEntryEnabled) != 0; }
  bool changed() const { return (enable & 0x80) != 0; }
};
#pragma pack(pop)
static_assert(sizeof(TableEntry) == kTableEntrySize);

TableEntry ReadTableEntry(const UnitMemory& memory, std::uint16_t address);

// Entry `index` of the table in bank `bank` (0 or 1).
TableEntry ReadBankEntry(const UnitMemory& memory, int bank, std::size_t index);

}  // namespace orvane::emulator
