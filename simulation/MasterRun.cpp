#include "simulation/MasterRun.h"

#include <algorithm>
#include <utility>

#include "analyzer/BankDownload.h"
#include "monitor/MessageCatalogue.h"
#include "simulation/ExtendedFiles.h"

namespace orvane::simulation {

namespace {

static_assert(sizeof(ScheduleTable) == analyzer::kBankTableSize);
static_assert(sizeof(InterruptEntry) == analyzer::kSimEntrySize);

constexpr std::int32_t kNoDataMessage = 101;
constexpr std::int32_t kExecutionMessage = 106;
constexpr std::int32_t kScheduleSettingMessage = 406;
constexpr std::string_view kKeyTriggerErrorText = "Key Trigger Error.";

bool ApplyCursor(MasterSimulation& simulation, std::size_t schedule, RowCursor& cursor) {
  MasterRunState& state = simulation.state;
  return ApplyNextRow(state.tables[schedule][cursor.slot], cursor,
                      simulation.schedules[schedule].slots[cursor.slot].repeatPattern == 1,
                      state.patterns[schedule].rows[cursor.slot], simulation.rules,
                      state.PatternEndReached);
}

// Every cursor of the schedule back to its first row, and that row applied.
void StartCursors(MasterSimulation& simulation, std::size_t schedule) {
  PatternRun& run = simulation.state.patterns[schedule];
  ResetCursors(run);
  for (TimerCursor& cursor : run.timers) ApplyCursor(simulation, schedule, cursor);
  for (KeyCursor& cursor : run.keys) ApplyCursor(simulation, schedule, cursor);
}

bool DownloadToStart(MasterSimulation& simulation, std::size_t schedule) {
  const bool runOnce = simulation.schedules[schedule].repeat == 0;
  return analyzer::DownloadMasterSchedule(
      simulation.link, EntryBytes(std::as_const(simulation.state.tables[schedule])), runOnce);
}

}  // namespace

std::size_t CurrentScheduleIndex(const MasterRunSettings& settings) {
  const std::int32_t current = settings.CurrentSchedule;
  return current >= 0 && current < static_cast<std::int32_t>(kScheduleCount)
             ? static_cast<std::size_t>(current)
             : 0;
}

bool SimulationDataCheck(const MasterSchedules& schedules, const SimSlot& interruptSlot,
                         const MasterRunSettings& settings) {
  const bool scheduleToSend = std::ranges::any_of(schedules, [](const MasterSchedule& schedule) {
    return schedule.enable == 1 && std::ranges::any_of(schedule.slots, [](const SimSlot& slot) {
             return slot.enable == 1;
           });
  });
  return scheduleToSend || (settings.InterruptModeOn == 1 && interruptSlot.enable == 1);
}

bool StartMasterRun(MasterSimulation& simulation) {
  MasterRunState& state = simulation.state;
  state.PatternEndReached = false;
  state.tableChanged = false;

  bool ok = CompileAll(simulation.schedules, simulation.interruptSlot, state, simulation.messages);
  ok = DownloadExtendedFiles(simulation.extendedFiles, simulation.schedules,
                             simulation.interruptSlot, simulation.link, simulation.messages) &&
       ok;
  BindExtendedFiles(simulation.extendedFiles, state);

  const std::size_t current = CurrentScheduleIndex(simulation.settings);
  StartCursors(simulation, current);
  if (!SimulationDataCheck(simulation.schedules, simulation.interruptSlot, simulation.settings)) {
    monitor::ShowErrorMessage(simulation.messages, kNoDataMessage);
    ok = false;
  }
  // Applying the first rows replaced the kinds of bound entries.
  BindExtendedFiles(simulation.extendedFiles, state);

  ok = ok && DownloadToStart(simulation, current) &&
       simulation.link.WriteScheduleSwitch(
           static_cast<std::uint32_t>(simulation.settings.ScheduleModeOn)) &&
       simulation.link.WriteInterruptSwitch(
           static_cast<std::uint32_t>(simulation.settings.InterruptModeOn));
  if (!ok) monitor::ShowErrorMessage(simulation.messages, kExecutionMessage);
  return ok;
}

TickResult MasterTick(MasterSimulation& simulation) {
  if (simulation.settings.ScheduleModeOn != 1) return TickResult::kIdle;
  MasterRunState& state = simulation.state;
  const std::size_t current = CurrentScheduleIndex(simulation.settings);
  PatternRun& run = state.patterns[current];

  bool changed = state.tableChanged;
  for (TimerCursor& cursor : run.timers) {
    if (CountTick(cursor)) changed = ApplyCursor(simulation, current, cursor) || changed;
  }
  for (KeyCursor& cursor : run.keys) {
    if (!cursor.pending) continue;
    ApplyCursor(simulation, current, cursor);
    cursor.pending = false;
    changed = true;
  }
  if (!changed) return TickResult::kIdle;

  state.tableChanged = false;
  if (!analyzer::DownloadMasterScheduleRunning(simulation.link,
                                               EntryBytes(state.tables[current]))) {
    return TickResult::kDownloadFailed;
  }
  return TickResult::kDownloaded;
}

void MasterKey(MasterSimulation& simulation, std::int32_t key) {
  MasterRunState& state = simulation.state;
  const SimSlot& interruptSlot = simulation.interruptSlot;
  if (interruptSlot.trigger == kTriggerKey && interruptSlot.triggerValue == key &&
      simulation.settings.InterruptModeOn == 1) {
    PatternRun& interrupt = state.interruptPattern;
    if (interruptSlot.pattern == 1 && !interrupt.keys.empty()) {
      ApplyNextRow(state.interruptEntry, interrupt.keys.front(), interruptSlot.repeatPattern == 1,
                   interrupt.rows.front(), simulation.rules, state.PatternEndReached);
    }
    if (!simulation.link.SendOneShotEntry(EntryBytes(std::as_const(state.interruptEntry)))) {
      monitor::ShowErrorBox(simulation.messages, kKeyTriggerErrorText);
    }
  }

  const std::size_t current = CurrentScheduleIndex(simulation.settings);
  const MasterSchedule& schedule = simulation.schedules[current];
  for (KeyCursor& cursor : state.patterns[current].keys) {
    if (schedule.slots[cursor.slot].pattern == 1 && cursor.key == key) cursor.pending = true;
  }
}

bool SelectSchedule(MasterSimulation& simulation, std::size_t schedule, bool monitoring,
                    Reselect reselect) {
  if (schedule >= kScheduleCount) return false;
  if (reselect == Reselect::kNo && schedule == CurrentScheduleIndex(simulation.settings)) {
    return true;
  }
  simulation.settings.CurrentSchedule = static_cast<std::int32_t>(schedule);
  StartCursors(simulation, schedule);
  BindExtendedFiles(simulation.extendedFiles, schedule, simulation.state.tables[schedule]);
  if (monitoring && !DownloadToStart(simulation, schedule)) {
    monitor::ShowErrorMessage(simulation.messages, kScheduleSettingMessage);
    return false;
  }
  return true;
}

}  // namespace orvane::simulation
