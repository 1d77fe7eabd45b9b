// Filling the shared monitor state from the blocks the analyzer delivers:
// append raw records, derive the ViewBuffer, update the per-identifier
// tables. The acquisition thread calls, after each MonitorRead,
//   AppendBlock, (log the records), UpdateViewBuffer, UpdateIdTables.
//
// Threads: acquisition thread only (the single writer of MonitorState); none
// of these functions blocks or allocates. Readers see new records once the
// ring's write index is published (see MonitorState.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"

namespace orvane::monitor {

// The monitor mask of the option settings: when enabled, only records whose
// identifier (ident bits 0-5) is one of the ids reach the ViewBuffer; the
// records are still kept in the MonitorBuffer and logged.
struct MonitorMask {
  bool MaskEnabled = false;
  std::array<std::uint8_t, 8> MaskIds{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // 0xFF unused

  // Bit i set when identifier i reaches the ViewBuffer.
  std::uint64_t VisibleIdentifiers() const;
  bool Passes(const MonitorRecord& record) const {
    return IsVisible(record, VisibleIdentifiers());
  }
  static bool IsVisible(const MonitorRecord& record, std::uint64_t visibleIdentifiers) {
    return ((visibleIdentifiers >> record.Identifier()) & 1u) != 0;
  }
};

// The node order of a loaded LIN description: the EachIdTable slot (0-63) in
// which an identifier's records are kept when the Each ID window sorts by node.
class IdentifierSlotMap {
 public:
  virtual int SlotFor(int identifier) const = 0;

 protected:
  ~IdentifierSlotMap() = default;
};

// Appends one block (normally at most 100 records) to the MonitorBuffer at its
// write index, wrapping at the end of the ring and setting its wrap flag when
// the end is reached; stores the header as the latest block header and sets
// the records-seen marker if it is still 0.
void AppendBlock(MonitorState& state, std::span<const MonitorRecord> records,
                 const MonitorBlockHeader& header);

// The ViewBuffer form of an extended-frame header: kind's high 4 bits get
// min(extLength, 8), the first 7 data bytes move to record bytes 10-16 and,
// when the group has a second record (`next`), its first two bytes become
// bytes 17-18 (data bytes 7 and 8).
MonitorRecord MergeExtendedHeader(const MonitorRecord& header, const MonitorRecord* next);

// Copies the MonitorBuffer records from the view builder's read position up
// to the raw write index into the ViewBuffer: ordinary records unchanged, one
// merged record per extended-frame group, records failing the mask left out.
// A group whose last record has not arrived yet stays pending until a later
// call.
void UpdateViewBuffer(MonitorState& state, const MonitorMask& mask);

// Stores every ViewBuffer record from `previousWriteIndex` up to the current
// ViewBuffer write index in the EachIdTable (error events slot 71, wake-up 64,
// I/O kinds 10-15 slots 65-70, otherwise the identifier, or its node-order
// slot when sortOrder is 1 and a map is given) and complete frames (kind 1)
// in the LastFrameTable. Returns the current ViewBuffer write index, the
// position for the next call.
std::uint32_t UpdateIdTables(MonitorState& state, std::uint32_t previousWriteIndex, int sortOrder,
                             const IdentifierSlotMap* nodeOrder);

// Empties both tables and stores the ViewBuffer records from the oldest up
// to the one at ring index `lastIndex` in them, as UpdateIdTables would have
// while monitoring reached that record: the tables as of that record. Only
// while no acquisition thread runs.
void RebuildIdTablesUpTo(MonitorState& state, std::uint32_t lastIndex, int sortOrder,
                         const IdentifierSlotMap* nodeOrder);

}  // namespace orvane::monitor
