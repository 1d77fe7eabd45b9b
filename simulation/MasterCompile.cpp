#include "simulation/MasterCompile.h"

#include <algorithm>
#include <vector>

#include "settings/FixedText.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::simulation {

namespace {

constexpr std::int32_t kMemoryMessage = 107;

bool HasPatternWithoutFile(std::span<const SimSlot> slots) {
  return std::ranges::any_of(slots, [](const SimSlot& slot) {
    return slot.enable == 1 && slot.pattern == 1 && settings::FieldText(slot.patternPath).empty();
  });
}

// The rows and cursors of the enabled pattern slots; false, with the run
// left empty, when one has no file or a file is too long.
bool LoadPatterns(std::span<const SimSlot> slots, PatternRun& run) {
  run = PatternRun{};
  return !HasPatternWithoutFile(slots) && LoadPatternRun(slots, run);
}

}  // namespace

void RotateDelays(ScheduleTable& table) {
  std::vector<SimEntry*> enabled;
  for (SimEntry& entry : table) {
    if (entry.enable == kEntryEnabled) enabled.push_back(&entry);
  }
  if (enabled.empty()) return;
  const std::uint16_t firstDelay = enabled.front()->delay;
  for (std::size_t i = 0; i + 1 < enabled.size(); ++i) enabled[i]->delay = enabled[i + 1]->delay;
  enabled.back()->delay = firstDelay;
}

bool CompileAll(const MasterSchedules& schedules, const SimSlot& interruptSlot,
                MasterRunState& state, monitor::MessageSink& messages) {
  bool compiled = true;
  for (std::size_t s = 0; s < kScheduleCount; ++s) {
    const MasterSchedule& schedule = schedules[s];
    ScheduleTable& table = state.tables[s];
    std::ranges::transform(schedule.slots, table.begin(), CompileSlot);
    RotateDelays(table);
    if (!LoadPatterns(schedule.slots, state.patterns[s])) {
      monitor::ShowErrorMessage(messages, kMemoryMessage);
      compiled = false;
      break;
    }
    if (schedule.enable == 0) {
      for (SimEntry& entry : table) entry.enable = 0;
    }
  }

  state.interruptEntry = CompileSlot(interruptSlot);
  if (!LoadPatterns(std::span(&interruptSlot, 1), state.interruptPattern)) {
    monitor::ShowErrorMessage(messages, kMemoryMessage);
    compiled = false;
  }
  return compiled;
}

void Release(MasterRunState& state) {
  for (PatternRun& run : state.patterns) run = PatternRun{};
  state.interruptPattern = PatternRun{};
}

}  // namespace orvane::simulation
