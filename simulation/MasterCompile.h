// Compiling the master simulation model into the tables the analyzer runs:
// a ScheduleTable per schedule, the InterruptEntry, and the pattern rows and
// cursors of every pattern slot.
//
// MasterRunState is the run state the application owns (tests make their
// own): it lives from a compile to the next compile or the end of the
// program. Plain data of the user-interface thread: the compile writes it,
// the run steps (MasterRun.h) advance it, the master simulation monitor
// window reads it.
#pragma once

#include <array>

#include "monitor/MessageSink.h"
#include "simulation/PatternRun.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

struct MasterRunState {
  ScheduleTables tables{};
  InterruptEntry interruptEntry{};
  std::array<PatternRun, kScheduleCount> patterns;
  // The interrupt slot's rows (rows[0]) and its key cursor (keys[0]) when it
  // uses a pattern with a key.
  PatternRun interruptPattern;
  // Set when a pattern without repeat has put in its last row; cleared when
  // a master run starts.
  bool PatternEndReached = false;
  // Set by whoever changes an entry of the current table while a run is in
  // progress; the next simulation tick downloads the table and clears it.
  bool tableChanged = false;
};

// Entry k carries the delay to wait after sending it: the delay entered on
// the next enabled slot (byte 0 exactly 1); the last enabled entry carries
// the first one's. A table without an enabled entry is left as it is.
void RotateDelays(ScheduleTable& table);

// Compiles the 16 schedules and the interrupt slot and loads their pattern
// files. Per schedule: compile the slots, rotate the delays, load the rows of
// the enabled pattern slots, and disable every entry when the schedule is
// disabled. A pattern slot without a file, or a file with too many rows,
// shows message 107 ("Memory are not securable any more."), leaves that
// schedule without rows and unmasked and the later schedules as they were,
// and the compile goes on with the interrupt slot (whose failure also shows
// 107). True only when nothing failed. Blocks on reading the pattern files.
bool CompileAll(const MasterSchedules& schedules, const SimSlot& interruptSlot,
                MasterRunState& state, monitor::MessageSink& messages);

// Frees all pattern rows and cursors (at the end of the program).
void Release(MasterRunState& state);

}  // namespace orvane::simulation
