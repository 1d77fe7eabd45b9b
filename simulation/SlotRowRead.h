// Reading the text cells of a grid row back into the slot they stand for,
// as the setup dialogs store their rows. Each form starts from the slot
// stored behind the row, so that what the row does not show survives: the
// pattern path (kept while "File" is not empty), the bytes behind "-" data
// cells, and the fields a form has no cell for.
// Pure functions; any thread.
#pragma once

#include <optional>

#include "settings/IdentifierDefinition.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGrid.h"

namespace orvane::simulation {

// A master schedule row:
//  "Ena" and the other check cells; "Delay" as decimal, -1 when no number;
//  "Command": "Tx" 0, "Rx" 1, "Sleep" 2 (identifier 0x3C), "Wakeup" 3,
//  empty 0xFF, any other text 0x10; for Tx to Wakeup "IDEN" as hexadecimal
//  (an empty cell keeps 0, or 0x3C for Sleep), Tx and Rx on 0x3E/0x3F
//  become the extended commands; other commands get identifier 0;
//  D0 to D(d-1) for the identifier's defined length d as hexadecimal ("-"
//  keeps the stored byte, empty gives 0);
//  "Error" by name (0 when no name); "Timer/Key" without "[ms]": empty no
//  trigger, a key name the key, else a timer with the decimal interval;
//  "File" empty clears the path.
// Nothing when "Timer/Key" is neither empty, a key nor a number (the setup
// shows message 406).
std::optional<SimSlot> ReadMasterRow(const SlotRow& row, const SimSlot& stored,
                                     const settings::IdentifierDefinition& identifiers);

// The interrupt row: as a schedule row, but its "Key" must be empty (no
// trigger) or a key name, and enable and delay (which it has no cells for)
// are the stored slot's. Nothing for any other "Key" (the setup shows
// message 404).
std::optional<SimSlot> ReadInterruptRow(const SlotRow& row, const SimSlot& stored,
                                        const settings::IdentifierDefinition& identifiers);

// A slave response row: the check cells; "IDEN" as hexadecimal, else 0x40
// (none); all of D0-D7 as hexadecimal, else 0; "Error" by name; "Timer/Key"
// without "[ms]": empty no trigger, a key name the key, anything else a
// timer with the decimal number (0 when there is none); "File" empty clears
// the path. Command and delay stay the stored slot's.
SimSlot ReadSlaveRow(const SlotRow& row, const SimSlot& stored);

// The slot a row of any mode stands for, as the clipboard copies it: the
// slave form for the slave list, the schedule form otherwise.
std::optional<SimSlot> ReadGridRow(GridMode mode, const SlotRow& row, const SimSlot& stored,
                                   const settings::IdentifierDefinition& identifiers);

}  // namespace orvane::simulation
