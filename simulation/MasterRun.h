// The steps of a master simulation run that the run control calls: the
// start of a run, the 50 ms simulation tick, key presses, and the selection
// of another schedule (from the master simulation monitor window).
//
// Threads: all of it runs on the user-interface thread; nothing is locked.
// Each step blocks on the register writes it makes (a table download polls
// the analyzer's bank for up to about 2 seconds; a one-shot entry waits up
// to about 150 ms) and the start also on reading the pattern and extended
// frame files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"
#include "simulation/MasterCompile.h"
#include "simulation/PatternApply.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

// What a master run works on: the stored model of the configuration, the
// run state the application owns, the pattern rules, the analyzer link and
// the sink for messages.
struct MasterSimulation {
  const MasterSchedules& schedules;
  const SimSlot& interruptSlot;
  ExtendedFileTable& extendedFiles;
  MasterRunSettings& settings;
  MasterRunState& state;
  PatternRules rules;
  const analyzer::RegisterMap& link;
  monitor::MessageSink& messages;
};

// `CurrentSchedule` as an index: a value outside 0-15 (-1 in files) reads as 0.
std::size_t CurrentScheduleIndex(const MasterRunSettings& settings);

// True when an enabled schedule has an enabled slot, or when the interrupt
// is switched on and its slot is enabled.
bool SimulationDataCheck(const MasterSchedules& schedules, const SimSlot& interruptSlot,
                         const MasterRunSettings& settings);

// The start of a master run, in this order: compile all, download the
// extended files, bind them, reset the current schedule's cursors and apply
// their first rows, the simulation data check (message 101 when there is
// nothing to send), bind again; then, when all went well, download the
// current table with its repeat flag and write the schedule and interrupt
// switches, each only after the one before succeeded. Any failure shows
// message 106 at the end and gives false; monitoring must not start then.
bool StartMasterRun(MasterSimulation& simulation);

enum class TickResult {
  kIdle,        // nothing changed, nothing downloaded
  kDownloaded,  // the current table went to the analyzer
  // The download failed: the caller stops monitoring and then shows
  // message kRunningDownloadFailedMessage.
  kDownloadFailed,
};
inline constexpr std::int32_t kRunningDownloadFailedMessage = 1001;

// The 50 ms simulation tick, only while ScheduleModeOn is 1: each timer
// cursor of the current schedule counts up to its period and then applies
// its next row; each pending key cursor applies its next row. The table is
// downloaded (DownloadMasterScheduleRunning, which clears the upper four
// bits of every entry's byte 0) when a timer row was applied, a key was
// served (even when no row could be applied) or `tableChanged` was set.
TickResult MasterTick(MasterSimulation& simulation);

// A key press while a master run is monitored. The interrupt slot's key
// (trigger key) with InterruptModeOn set applies the interrupt pattern's
// next row when it has one and sends the InterruptEntry through the
// one-shot mailbox; a failure shows "Key Trigger Error.". Then every key
// cursor of the current schedule on that key whose slot uses a pattern and
// which is not pending becomes pending, for the next tick. F10 (kKeyF10) is
// the run control's to swallow.
void MasterKey(MasterSimulation& simulation, std::int32_t key);

// Whether selecting the schedule that is already current does anything.
enum class Reselect {
  kNo,   // a button of the master monitor: nothing happens
  kYes,  // the monitor window opening or following a new setup
};

// Makes `schedule` current unless it already is (or `reselect` says to do
// it anyway): resets its cursors and applies their first rows, binds the
// extended files into its table and, while monitoring runs, downloads the
// table with its repeat flag. A failed download shows message 406
// ("Schedule Setting Error.") and gives false; an index outside 0-15 gives
// false without any change.
bool SelectSchedule(MasterSimulation& simulation, std::size_t schedule, bool monitoring,
                    Reselect reselect = Reselect::kNo);

}  // namespace orvane::simulation
