#include "simulation/PatternRun.h"

#include <filesystem>
#include <utility>

#include "settings/FixedText.h"

namespace orvane::simulation {

namespace {

constexpr std::uint32_t kTickMilliseconds = 50;

void ResetCursor(RowCursor& cursor) {
  cursor.position = 0;
  cursor.ended = false;
}

}  // namespace

SlotPattern ReadSlotPattern(const SimSlot& slot) {
  const pattern::PatternRows read =
      pattern::ReadPatternRows(std::filesystem::path(settings::FieldText(slot.patternPath)));
  SlotPattern result{.status = read.status, .rows = {}};
  for (const pattern::ParsedPatternLine& line : read.rows) {
    if (line.ok) result.rows.push_back(line.record);
  }
  return result;
}

bool LoadPatternRun(std::span<const SimSlot> slots, PatternRun& run) {
  run = PatternRun{};
  run.rows.resize(slots.size());
  for (std::size_t index = 0; index < slots.size(); ++index) {
    const SimSlot& slot = slots[index];
    if (slot.enable != 1 || slot.pattern != 1) continue;
    SlotPattern loaded = ReadSlotPattern(slot);
    if (loaded.status == pattern::PatternRowsStatus::kTooManyRows) {
      run = PatternRun{};
      return false;
    }
    if (loaded.status == pattern::PatternRowsStatus::kOpenError) continue;
    run.rows[index] = std::move(loaded.rows);
    const auto slotIndex = static_cast<std::uint8_t>(index);
    if (slot.trigger == kTriggerTimer) {
      TimerCursor cursor;
      cursor.slot = slotIndex;
      cursor.period = static_cast<std::uint32_t>(slot.triggerValue) / kTickMilliseconds;
      run.timers.push_back(cursor);
    } else if (slot.trigger == kTriggerKey) {
      KeyCursor cursor;
      cursor.slot = slotIndex;
      cursor.key = slot.triggerValue;
      run.keys.push_back(cursor);
    }
  }
  return true;
}

bool CountTick(TimerCursor& cursor) {
  if (cursor.ticks < cursor.period) {
    ++cursor.ticks;
    return false;
  }
  cursor.ticks = 1;
  return true;
}

void ResetCursors(PatternRun& run) {
  for (TimerCursor& cursor : run.timers) {
    ResetCursor(cursor);
    cursor.ticks = 0;
  }
  for (KeyCursor& cursor : run.keys) ResetCursor(cursor);
}

}  // namespace orvane::simulation
