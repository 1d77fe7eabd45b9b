// The run state of slots whose command, identifier and data come row by row
// from a pattern file: the parsed rows of each such slot and the cursors
// that walk them, one per slot, advanced by the simulation tick (timer
// cursors) or by key presses (key cursors).
//
// Rebuilt by every compile; not stored. Plain data of the user-interface
// thread: the compile writes it, the run steps and the simulation monitor
// windows read and advance it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pattern/PatternRecord.h"
#include "pattern/PatternRows.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

// The usable rows of one pattern file, in file order. Lines that do not
// parse are left out: a row that cannot be used never reaches an entry.
using PatternRows = std::vector<pattern::PatternRecord>;

// Where a slot stands in its rows.
struct RowCursor {
  std::uint8_t slot = 0;       // index of the slot (and of its entry)
  std::uint32_t position = 0;  // the next row
  // Set when a pattern without repeat has put in its last row; a cursor
  // that has ended leaves its entry alone until it is reset.
  bool ended = false;
};

struct TimerCursor : RowCursor {
  std::uint32_t ticks = 0;
  std::uint32_t period = 0;  // in 50 ms ticks: interval / 50, truncated
};

struct KeyCursor : RowCursor {
  std::int32_t key = 0;  // virtual-key code
  bool pending = false;  // set by a key press, cleared when the tick serves it
};

// The pattern rows and cursors of one table (a master schedule or the slave
// responses).
struct PatternRun {
  std::vector<PatternRows> rows;  // per slot; empty for slots without a pattern
  std::vector<TimerCursor> timers;
  std::vector<KeyCursor> keys;
};

// The rows of one slot's pattern file, or why there are none.
struct SlotPattern {
  // kOpenError: the file cannot be opened; kTooManyRows: it holds more rows
  // than a simulation keeps (the caller shows message 107).
  pattern::PatternRowsStatus status = pattern::PatternRowsStatus::kOk;
  PatternRows rows;
};

// Reads the file named by the slot's patternPath. Blocks on reading it.
SlotPattern ReadSlotPattern(const SimSlot& slot);

// Loads the rows of every slot with enable = 1 and pattern = 1, in slot
// order, and gives each a timer cursor (trigger 1) or a key cursor (trigger
// 2). A file that cannot be opened gives its slot no rows and no cursor.
// False, with the run left empty, when a file is too long. Blocks on
// reading the files.
bool LoadPatternRun(std::span<const SimSlot> slots, PatternRun& run);

// Counts one 50 ms tick: below its period the cursor only counts; once the
// period has passed its next row is due and the count starts again at 1.
bool CountTick(TimerCursor& cursor);

// Every cursor back to its first row: position 0, ticks 0, not ended.
void ResetCursors(PatternRun& run);

}  // namespace orvane::simulation
