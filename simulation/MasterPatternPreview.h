// The frame a pattern slot starts with, shown in its row of the master
// setup: the first row of the slot's pattern file that suits the option
// settings' pattern rules puts its command, identifier and data into the
// row's cells, fitted to the identifier's defined data length as a run
// would send it.
//
// Plain functions of the user-interface thread; they block on reading the
// pattern file, up to its first suitable line.
#pragma once

#include <string>
#include <string_view>

#include "simulation/PatternApply.h"
#include "simulation/SlotGrid.h"

namespace orvane::simulation {

inline constexpr std::string_view kNoProperPatternDataText =
    "No proper data found for the slot in this pattern file.";

enum class PreviewOutcome {
  kShown,          // the row shows the file's first suitable frame
  kNoSuitableRow,  // the file cannot be opened, is empty, or no row suits
  kFormatError,    // the first suitable line does not parse: "Pat" was unticked
};

// Reads the pattern file at `path` line by line; rows that do not suit the
// rules (RowSuits) are passed over. The first other line, when it parses,
// becomes the row's "Command", "IDEN" and data cells; when it does not,
// the row's "Pat" becomes "UNCHECKED" and nothing else changes.
PreviewOutcome PreviewPatternRow(SlotRow& row, std::string_view path, const PatternRules& rules);

// "Pattern file format error.That slot will be disabled.\n(<path>)", shown
// in a box titled "Error" after kFormatError.
std::string PatternFormatErrorText(std::string_view path);

}  // namespace orvane::simulation
