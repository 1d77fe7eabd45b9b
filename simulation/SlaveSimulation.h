// The slave simulation: the 16 slave responses compiled into the analyzer's
// slave table, their pattern rows and cursors, and the steps of a slave run
// that the run control calls (start, the 50 ms tick, key presses).
//
// SlaveRunState is the run state the application owns (tests make their
// own); it lives from a compile to the next compile or the end of the
// program. Threads: all of it runs on the user-interface thread; nothing is
// locked. The steps block on the table download (polling the analyzer's
// bank for up to about 2 seconds) and the compile on reading pattern files.
#pragma once

#include <cstdint>

#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"
#include "simulation/PatternApply.h"
#include "simulation/PatternRun.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

struct SlaveRunState {
  SlaveTable table{};
  PatternRun patterns;
};

// What a slave run works on.
struct SlaveSimulation {
  const SlaveResponses& responses;
  SlaveRunState& state;
  PatternRules rules;
  const analyzer::RegisterMap& link;
  monitor::MessageSink& messages;
};

// Compiles response i into entry i (no delay rotation, no masking) and loads
// the rows of the enabled pattern responses. A file with too many rows shows
// message 107, leaves no rows and gives false. Blocks on reading the files.
bool CompileSlaveTable(const SlaveResponses& responses, SlaveRunState& state,
                       monitor::MessageSink& messages);

// The start of a slave run: compile, reset every cursor and apply its first
// row, download the slave table (failure: message 400) and clear the changed
// marker of the enabled entries. False when the compile or the download
// failed; monitoring must not start then.
bool StartSlaveRun(SlaveSimulation& simulation);

// The 50 ms tick: each timer cursor counts up to its period and then
// applies its next row; each pending key cursor applies its next row; then
// the table is downloaded, changed or not (failure: message 400, false), and
// after a successful download bit 7 of byte 0 is cleared in every entry
// whose bit 0 is set.
bool SlaveTick(SlaveSimulation& simulation);

// A key press while a slave run is monitored: every key cursor on that key
// whose response uses a pattern becomes pending. F10 (kKeyF10) is the run
// control's to swallow.
void SlaveKey(SlaveSimulation& simulation, std::int32_t key);

// Frees the pattern rows and cursors (at the end of the program).
void Release(SlaveRunState& state);

}  // namespace orvane::simulation
