// What the master and slave simulation monitor windows show of a running
// simulation, and how their run-time edits reach the model: the frame cells
// of a compiled entry, the checksum of a slave response, the master
// counters of the latest block header, the frame a key slot's next row
// would give, and the edits typed while a run is in progress.
//
// Pure functions of the user-interface thread; they change only what they
// are given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "monitor/MonitorRecord.h"
#include "settings/IdentifierDefinition.h"
#include "simulation/PatternApply.h"
#include "simulation/PatternRun.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

// The "Command", "IDEN" and "D0"-"D7" cells of a frame.
struct FrameCells {
  std::string command;
  std::string identifier;
  std::array<std::string, kSlotDataSize> data;

  friend bool operator==(const FrameCells&, const FrameCells&) = default;
};

// A compiled entry as the master monitor follows it: by the high nibble of
// its kind "Rx" (0, 4), "Tx" (1, 5, 6 and 7, an injected error on a Tx
// frame), "Sleep" (2), "Wakeup" (3); "IDEN" "%02x" except for Wakeup; the
// data "%02x" for the identifier's defined length on Tx and Sleep frames.
FrameCells EntryFrameCells(const SimEntry& entry, const settings::IdentifierDefinition& identifiers);

// The frame a key slot would send on its next key press: the next row is
// tried on copies of the entry and the cursor, so nothing moves.
SimEntry PreviewNextRow(const SimEntry& entry, const KeyCursor& cursor, bool repeat,
                        std::span<const pattern::PatternRecord> rows, const PatternRules& rules,
                        bool patternEndReached);

// The master monitor's "Success/Request" ("%d / %d") and "Count" ("%d")
// from the latest block header.
struct MasterCounterTexts {
  std::string successRequest;
  std::string count;
};
MasterCounterTexts CounterTextsOf(const monitor::MonitorBlockHeader& header);

// The LIN classic checksum of a slave response over its first `length`
// data bytes: the inverted sum with carries added.
std::uint8_t ResponseChecksum(std::span<const std::uint8_t, kSlotDataSize> data,
                              std::uint8_t length);

// A master schedule row edited while the run is in progress: `text` is read
// as one pattern file line ("Tx,10,01,02"). When the frame differs from the
// slot's, the slot's command, identifier and data and its compiled entry
// (kind, identifier, data, changed marker) take it; Tx and Rx on 0x3E and
// 0x3F become the extended commands. Gives whether anything changed;
// nothing when the text is no valid line.
std::optional<bool> ApplyRunningFrameEdit(std::string_view text, SimSlot& slot, SimEntry& entry,
                                          const settings::IdentifierDefinition& identifiers);

// A slave response's data edited while the run is in progress: `text` holds
// up to eight hexadecimal bytes separated by ","; the fields given replace
// D0, D1, ... in order. Nothing for more than eight fields or a field that
// is not hexadecimal.
std::optional<std::array<std::uint8_t, kSlotDataSize>> ParseRunningData(
    std::string_view text, std::span<const std::uint8_t, kSlotDataSize> current);

// The kind byte of a slave entry whose error was chosen while running:
// 0x70 | the error's code for CheckSum and ShortMsg, a plain Tx response
// for "(None)" (an error kind with code 0 would not answer normally).
std::uint8_t SlaveErrorKind(std::uint8_t error);

}  // namespace orvane::simulation
