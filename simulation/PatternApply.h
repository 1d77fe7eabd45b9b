// Putting the next pattern row of a slot into its compiled entry, as the
// start of a run, the simulation tick and key presses do.
//
// Which rows suit a frame, and how a row with fewer or more data bytes than
// its identifier's defined data length is fitted, follows the option
// settings' pattern choices: " DL < Pattern data length " ("Ignore over
// data" or "Skip 1Pattern") and " DL > Pattern data length " ("Set the
// following data" with FillData, or "Skip 1Pattern").
//
// Plain functions of the user-interface thread; they change only the entry
// and the cursor they are given.
#pragma once

#include <cstdint>
#include <span>

#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "pattern/PatternRecord.h"
#include "simulation/PatternRun.h"
#include "simulation/SimEntry.h"

namespace orvane::simulation {

// The settings that decide how rows are fitted to frames.
struct PatternRules {
  const settings::OptionSettings& options;  // ShortPatternMode, LongPatternMode, FillData
  const settings::IdentifierDefinition& identifiers;
};

// False when the row's data count differs from its identifier's defined
// data length and the option for that case is "Skip 1Pattern".
bool RowSuits(const pattern::PatternRecord& row, const PatternRules& rules);

// Master form (schedule slots and the interrupt slot). From the cursor's
// position, rows that do not suit are passed over; the first suitable row
// goes into the entry: changed marker (bit 7 of byte 0) set, the high
// nibble of the kind replaced by the row's command (low nibble kept), the
// row's identifier, and its data fitted to the defined data length. The
// position then moves on: with `repeat` wrapping to the first row; without
// it, putting in the last row (or passing over it) ends the cursor and sets
// `patternEndReached`, and an ended cursor changes nothing more.
// True when a row was put in; false, with the entry unchanged, when there are
// no rows, the cursor has ended, or no row suits.
bool ApplyNextRow(SimEntry& entry, RowCursor& cursor, bool repeat,
                  std::span<const pattern::PatternRecord> rows, const PatternRules& rules,
                  bool& patternEndReached);

// Slave form. From the cursor's position at most all rows are examined; a
// row applies when it is a Tx row of the entry's identifier and suits. Each
// examined row moves the position on: with `repeat` wrapping to the first
// row, without it staying at the last row, which ends the scan. An applying
// row puts in its data only (fitted as above) and sets the changed marker.
// True when a row was put in; false, with the entry unchanged, otherwise.
bool ApplySlaveRow(SimEntry& entry, RowCursor& cursor, bool repeat,
                   std::span<const pattern::PatternRecord> rows, const PatternRules& rules);

}  // namespace orvane::simulation
