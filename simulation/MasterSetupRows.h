// The rows of the master simulation setup read back into the model: the 32
// rows of the edited schedule and the interrupt row, checked as the setup's
// OK and a change of the edited schedule check them, stored, and the OK
// that follows (pattern files present, extended frame files downloaded,
// run switches set). Also the marks of rows whose slots are bound to
// extended frame files.
//
// Plain functions of the user-interface thread; AcceptMasterSetup blocks on
// opening the pattern files and on the extended files' download.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"
#include "settings/IdentifierDefinition.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGridRows.h"

namespace orvane::simulation {

inline constexpr std::int32_t kInterruptSettingMessage = 404;  // "Interrupt Validation Set Error."
inline constexpr std::int32_t kScheduleSettingMessage = 406;   // "Schedule Setting Error."
inline constexpr std::int32_t kPatternFileMissingMessage = 702;  // "Pattern File is not exist."

enum class SetupList { kSchedule, kInterrupt };

// A row the setup refuses: the row to select and what to tell: a catalogue
// message, or (message 0) a check's text in a box titled "Error".
struct RowProblem {
  SetupList list = SetupList::kSchedule;
  std::size_t row = 0;
  std::int32_t message = 0;
  std::string text;

  friend bool operator==(const RowProblem&, const RowProblem&) = default;
};

void ShowRowProblem(const RowProblem& problem, monitor::MessageSink& messages);

// The slots the rows stand for.
struct SetupSlots {
  std::array<SimSlot, kSlotsPerSchedule> schedule{};
  SimSlot interrupt{};
};

struct SetupRowsRead {
  SetupSlots slots;
  std::optional<RowProblem> problem;  // set: `slots` is incomplete
};

// Converts the rows only: a schedule row whose "Timer/Key" is no number
// gives message 406, an interrupt "Key" that is no key message 404.
SetupRowsRead ReadSetupRows(const SlotGridRows& schedule, const SlotGridRows& interrupt,
                            const settings::IdentifierDefinition& identifiers);

// Converts and checks, row by row: each schedule row is converted (406) and
// checked (ValidateSlot); then the interrupt row is converted (404) and
// checked (ValidateInterruptSlot), and with the interrupt switched on it
// must have a key (404). The first problem decides.
SetupRowsRead CheckSetupRows(const SlotGridRows& schedule, const SlotGridRows& interrupt,
                             const settings::IdentifierDefinition& identifiers, bool interruptOn);

// The check boxes of the setup.
struct SetupSwitches {
  bool schedule = false;   // "Schedule": the schedule runs
  bool enable = false;     // "Enable" of the edited schedule
  bool repeat = false;     // "Repeat" of the edited schedule
  bool interrupt = false;  // "Interrupt": the interrupt key sends the interrupt slot
};

void StoreSchedule(MasterSchedule& schedule, const SetupSlots& slots, const SetupSwitches& switches);

// Whether the slot's pattern file can be opened for reading.
bool PatternFileOpens(const SimSlot& slot);

// What the setup edits.
struct MasterSetupModel {
  MasterSchedules& schedules;
  SimSlot& interruptSlot;
  ExtendedFileTable& extendedFiles;
  MasterRunSettings& settings;
};

enum class AcceptOutcome {
  kAccepted,       // stored; the setup closes
  kRowRefused,     // `problem` names the row; nothing after it was done
  kDownloadFailed, // the extended files' download failed and showed its message
};

struct AcceptResult {
  AcceptOutcome outcome = AcceptOutcome::kAccepted;
  std::optional<RowProblem> problem;
};

// OK of the setup, in this order: check the rows (CheckSetupRows); store
// them and the "Enable"/"Repeat" boxes into schedule `edited`; a pattern
// slot whose file cannot be opened refuses its row with message 702; set
// InterruptModeOn; store the interrupt slot, whose pattern file must open
// too (702); download the extended frame files; then set ScheduleModeOn
// and make `edited` the CurrentSchedule. The row problems are returned for
// the caller to show; the download shows its own messages.
AcceptResult AcceptMasterSetup(MasterSetupModel& model, std::size_t edited,
                               const SlotGridRows& schedule, const SlotGridRows& interrupt,
                               const SetupSwitches& switches,
                               const settings::IdentifierDefinition& identifiers,
                               const analyzer::RegisterMap& link, monitor::MessageSink& messages);

// For each binding in use (the first four with a path) of schedule
// `scheduleIndex` or of the interrupt slot: when the row's slot carries an
// extended frame (identifier 0x3E or 0x3F) its eight data cells show "-";
// otherwise the binding's path is cleared and the first d data cells (the
// identifier's defined length) show "00".
void MarkExtendedRows(ExtendedFileTable& files, std::size_t scheduleIndex, SlotGridRows& schedule,
                      SlotGridRows& interrupt, const settings::IdentifierDefinition& identifiers);

}  // namespace orvane::simulation
