#include "simulation/MasterSetupRows.h"

#include <algorithm>

#include "monitor/MessageCatalogue.h"
#include "pattern/PatternLineReader.h"
#include "settings/FixedText.h"
#include "simulation/ExtendedFiles.h"
#include "simulation/SlotRowRead.h"
#include "simulation/SlotValidation.h"

namespace orvane::simulation {

namespace {

constexpr std::size_t kInterruptRow = 0;

RowProblem ScheduleProblem(std::size_t row, std::int32_t message, std::string text = {}) {
  return {SetupList::kSchedule, row, message, std::move(text)};
}

RowProblem InterruptProblem(std::int32_t message, std::string text = {}) {
  return {SetupList::kInterrupt, kInterruptRow, message, std::move(text)};
}

bool IsExtendedIdentifier(std::uint8_t identifier) {
  return identifier == kExtendedFrameIdLow || identifier == kExtendedFrameIdHigh;
}

// Reads (and with `check`, checks) the rows; see ReadSetupRows and
// CheckSetupRows.
SetupRowsRead ReadRows(const SlotGridRows& schedule, const SlotGridRows& interrupt,
                       const settings::IdentifierDefinition& identifiers, bool check,
                       bool interruptOn) {
  SetupRowsRead read;
  const std::size_t rows = std::min(schedule.size(), kSlotsPerSchedule);
  for (std::size_t row = 0; row < rows; ++row) {
    const std::optional<SimSlot> slot =
        ReadMasterRow(schedule.cells(row), schedule.stored(row), identifiers);
    if (!slot) {
      read.problem = ScheduleProblem(row, kScheduleSettingMessage);
      return read;
    }
    if (check) {
      if (std::string text = ValidateSlot(*slot); !text.empty()) {
        read.problem = ScheduleProblem(row, 0, std::move(text));
        return read;
      }
    }
    read.slots.schedule[row] = *slot;
  }
  if (interrupt.size() <= kInterruptRow) return read;
  const std::optional<SimSlot> slot = ReadInterruptRow(
      interrupt.cells(kInterruptRow), interrupt.stored(kInterruptRow), identifiers);
  if (!slot) {
    read.problem = InterruptProblem(kInterruptSettingMessage);
    return read;
  }
  if (check) {
    if (std::string text = ValidateInterruptSlot(*slot); !text.empty()) {
      read.problem = InterruptProblem(0, std::move(text));
      return read;
    }
    if (interruptOn && slot->trigger != kTriggerKey) {
      read.problem = InterruptProblem(kInterruptSettingMessage);
      return read;
    }
  }
  read.slots.interrupt = *slot;
  return read;
}

std::optional<std::size_t> FirstMissingPatternFile(const MasterSchedule& schedule) {
  for (std::size_t slot = 0; slot < kSlotsPerSchedule; ++slot) {
    if (schedule.slots[slot].pattern == 1 && !PatternFileOpens(schedule.slots[slot])) return slot;
  }
  return std::nullopt;
}

// The bindings in use that a list's rows may carry: the first four with a
// path, of the interrupt slot or of schedule `scheduleIndex`.
bool BindsShownRow(const ExtendedFileBinding& binding, std::size_t scheduleIndex) {
  if (settings::FieldText(binding.path).empty()) return false;
  return binding.owner == kOwnerInterruptSlot ||
         (binding.owner == kOwnerScheduleSlot && binding.scheduleIndex == scheduleIndex);
}

void MarkRow(ExtendedFileBinding& binding, SlotGridRows& rows, std::size_t row,
             const settings::IdentifierDefinition& identifiers) {
  SlotRow cells = rows.cells(row);
  const std::uint8_t identifier = rows.stored(row).identifier;
  if (IsExtendedIdentifier(identifier)) {
    for (std::size_t i = 0; i < kSlotDataSize; ++i) cells[DataColumn(i)] = kExtendedDataCell;
  } else {
    settings::CopyToField("", binding.path);
    const std::uint8_t length = DefinedDataLength(identifiers, identifier);
    for (std::size_t i = 0; i < length; ++i) cells[DataColumn(i)] = "00";
  }
  rows.SetCells(row, cells);
}

}  // namespace

void ShowRowProblem(const RowProblem& problem, monitor::MessageSink& messages) {
  if (problem.message != 0) {
    monitor::ShowErrorMessage(messages, problem.message);
  } else {
    monitor::ShowErrorBox(messages, problem.text);
  }
}

SetupRowsRead ReadSetupRows(const SlotGridRows& schedule, const SlotGridRows& interrupt,
                            const settings::IdentifierDefinition& identifiers) {
  return ReadRows(schedule, interrupt, identifiers, false, false);
}

SetupRowsRead CheckSetupRows(const SlotGridRows& schedule, const SlotGridRows& interrupt,
                             const settings::IdentifierDefinition& identifiers, bool interruptOn) {
  return ReadRows(schedule, interrupt, identifiers, true, interruptOn);
}

void StoreSchedule(MasterSchedule& schedule, const SetupSlots& slots,
                   const SetupSwitches& switches) {
  schedule.enable = switches.enable ? 1 : 0;
  schedule.repeat = switches.repeat ? 1 : 0;
  std::ranges::copy(slots.schedule, schedule.slots);
}

bool PatternFileOpens(const SimSlot& slot) {
  const std::string_view path = settings::FieldText(slot.patternPath);
  return !path.empty() && pattern::OpenPatternFile(std::filesystem::path(path)).has_value();
}

AcceptResult AcceptMasterSetup(MasterSetupModel& model, std::size_t edited,
                               const SlotGridRows& schedule, const SlotGridRows& interrupt,
                               const SetupSwitches& switches,
                               const settings::IdentifierDefinition& identifiers,
                               const analyzer::RegisterMap& link, monitor::MessageSink& messages) {
  const SetupRowsRead read = CheckSetupRows(schedule, interrupt, identifiers, switches.interrupt);
  if (read.problem) return {AcceptOutcome::kRowRefused, read.problem};

  MasterSchedule& target = model.schedules.at(edited);
  StoreSchedule(target, read.slots, switches);
  if (const std::optional<std::size_t> slot = FirstMissingPatternFile(target)) {
    return {AcceptOutcome::kRowRefused, ScheduleProblem(*slot, kPatternFileMissingMessage)};
  }

  model.settings.InterruptModeOn = switches.interrupt ? 1 : 0;
  model.interruptSlot = read.slots.interrupt;
  if (model.interruptSlot.pattern == 1 && !PatternFileOpens(model.interruptSlot)) {
    return {AcceptOutcome::kRowRefused, InterruptProblem(kPatternFileMissingMessage)};
  }

  if (!DownloadExtendedFiles(model.extendedFiles, model.schedules, model.interruptSlot, link,
                             messages)) {
    return {AcceptOutcome::kDownloadFailed, std::nullopt};
  }
  model.settings.ScheduleModeOn = switches.schedule ? 1 : 0;
  model.settings.CurrentSchedule = static_cast<std::int32_t>(edited);
  return {};
}

void MarkExtendedRows(ExtendedFileTable& files, std::size_t scheduleIndex, SlotGridRows& schedule,
                      SlotGridRows& interrupt, const settings::IdentifierDefinition& identifiers) {
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    ExtendedFileBinding& binding = files[index];
    if (!BindsShownRow(binding, scheduleIndex)) continue;
    SlotGridRows& rows = binding.owner == kOwnerInterruptSlot ? interrupt : schedule;
    const std::size_t row = binding.owner == kOwnerInterruptSlot ? kInterruptRow : binding.slotIndex;
    if (row < rows.size()) MarkRow(binding, rows, row, identifiers);
  }
}

}  // namespace orvane::simulation
