// The rows of the "Send File" dialog: every slot that can send an extended
// frame file (a Tx slot on identifier 0x3E or 0x3F, command 5) with the
// file bound to it, and how the edited rows become the extended frame file
// table again when the dialog closes.
//
// Plain functions of the user-interface thread; StoreExtendedFileRows
// looks at the files on disk.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/MessageSink.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

inline constexpr std::string_view kTooManyExtendedFilesText =
    "More than 4 extended files cannot be set.\nYou should clear some selected files.";
inline constexpr std::string_view kMissingExtendedFileText =
    "The extended file not existing was set up.\nAn extended file setup is cleared.";
inline constexpr std::int32_t kPathTooLongMessage = 1000;  // "too long!."

struct ExtendedFileRow {
  ExtendedFileOwner owner = kOwnerScheduleSlot;
  std::size_t schedule = 0;  // 0 for the interrupt slot
  std::size_t slot = 0;      // 0 for the interrupt slot
  std::string path;          // empty: no file

  friend bool operator==(const ExtendedFileRow&, const ExtendedFileRow&) = default;
};

// The schedule slots that qualify, in schedule and slot order, then the
// interrupt slot when it qualifies; each with the path of the first binding
// in use (of the first four) that names it.
std::vector<ExtendedFileRow> ExtendedFileRows(const MasterSchedules& schedules,
                                              const SimSlot& interruptSlot,
                                              const ExtendedFileTable& files);

// The "Sch/Int", "Sch" and "No." cells: "Sch", "%d", "%d" for a schedule
// slot, "Int", "-", "0" for the interrupt slot.
std::array<std::string, 3> ExtendedFileRowCells(const ExtendedFileRow& row);

enum class ExtendedFilesOutcome {
  kStored,         // the dialog closes
  kStoredCleared,  // a file did not exist: the warning was shown, the table cleared; it closes
  kTooMany,        // more than four rows have a file: the text was shown; it stays open
  kPathTooLong,    // `row`'s path is too long: message 1000 was shown; it stays open
};

struct ExtendedFilesResult {
  ExtendedFilesOutcome outcome = ExtendedFilesOutcome::kStored;
  std::size_t row = 0;
};

// "Close" of the dialog. More than four rows with a file: the text
// kTooManyExtendedFilesText (box "Error"), nothing changes. A path of 256
// characters or more: message 1000, nothing changes. Otherwise the first
// four bindings are rebuilt from the rows with a file, in row order, the
// rest of them cleared; when one of the files does not exist the warning
// kMissingExtendedFileText (box "Warning") is shown and the whole table
// cleared.
ExtendedFilesResult StoreExtendedFileRows(std::span<const ExtendedFileRow> rows,
                                          ExtendedFileTable& files,
                                          monitor::MessageSink& messages);

}  // namespace orvane::simulation
