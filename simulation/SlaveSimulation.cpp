#include "simulation/SlaveSimulation.h"

#include <algorithm>
#include <utility>

#include "analyzer/BankDownload.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::simulation {

namespace {

static_assert(sizeof(SlaveTable) == analyzer::kSlaveTableSize);

constexpr std::int32_t kMemoryMessage = 107;
constexpr std::int32_t kSlaveSettingMessage = 400;

bool ApplyCursor(SlaveSimulation& simulation, RowCursor& cursor) {
  SlaveRunState& state = simulation.state;
  return ApplySlaveRow(state.table[cursor.slot], cursor,
                       simulation.responses[cursor.slot].repeatPattern == 1,
                       state.patterns.rows[cursor.slot], simulation.rules);
}

bool DownloadTable(SlaveSimulation& simulation) {
  SlaveTable& table = simulation.state.table;
  if (!analyzer::DownloadSlaveTable(simulation.link, EntryBytes(std::as_const(table)))) {
    monitor::ShowErrorMessage(simulation.messages, kSlaveSettingMessage);
    return false;
  }
  for (SimEntry& entry : table) {
    if (entry.enable & kEntryEnabled) entry.enable &= static_cast<std::uint8_t>(~kEntryChanged);
  }
  return true;
}

}  // namespace

bool CompileSlaveTable(const SlaveResponses& responses, SlaveRunState& state,
                       monitor::MessageSink& messages) {
  std::ranges::transform(responses, state.table.begin(), CompileSlot);
  if (!LoadPatternRun(responses, state.patterns)) {
    monitor::ShowErrorMessage(messages, kMemoryMessage);
    return false;
  }
  return true;
}

bool StartSlaveRun(SlaveSimulation& simulation) {
  SlaveRunState& state = simulation.state;
  if (!CompileSlaveTable(simulation.responses, state, simulation.messages)) return false;
  ResetCursors(state.patterns);
  for (TimerCursor& cursor : state.patterns.timers) ApplyCursor(simulation, cursor);
  for (KeyCursor& cursor : state.patterns.keys) ApplyCursor(simulation, cursor);
  return DownloadTable(simulation);
}

bool SlaveTick(SlaveSimulation& simulation) {
  PatternRun& run = simulation.state.patterns;
  for (TimerCursor& cursor : run.timers) {
    if (CountTick(cursor)) ApplyCursor(simulation, cursor);
  }
  for (KeyCursor& cursor : run.keys) {
    if (!cursor.pending) continue;
    ApplyCursor(simulation, cursor);
    cursor.pending = false;
  }
  return DownloadTable(simulation);
}

void SlaveKey(SlaveSimulation& simulation, std::int32_t key) {
  for (KeyCursor& cursor : simulation.state.patterns.keys) {
    if (simulation.responses[cursor.slot].pattern == 1 && cursor.key == key) cursor.pending = true;
  }
}

void Release(SlaveRunState& state) {
  state.patterns = PatternRun{};
}

}  // namespace orvane::simulation
