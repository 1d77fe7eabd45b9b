// What the slave simulation setup does with its rows beyond showing them:
// reading the "Master ID" field, storing the 16 rows into the responses as
// OK does (each row checked in order, then the identifiers checked for
// repeats), and the pattern preview that shows a row the data its pattern
// file would give. The dialog only selects the row and shows the text.
//
// Pure functions of the user-interface thread; the preview blocks on
// reading the pattern file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/PatternApply.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGrid.h"
#include "simulation/SlotGridRows.h"

namespace orvane::simulation {

// "Entered ID has already been used for slave ID."
inline constexpr std::int32_t kSlaveIdentifierUsedMessage = 301;

// Shown titled "Warning" when the "Pattern" button's preview finds nothing.
inline constexpr std::string_view kNoPatternDataText =
    "No proper data found for the slot in this pattern file.";

// The master ID as the setup and the monitor window show it: "%02x".
std::string MasterIdText(std::int32_t masterId);

// The "Master ID" field read as "%02x" reads it: after leading blanks one or
// two hexadecimal digits, whatever follows ignored. Nothing for any other
// text (a sign or a "0x" prefix included), so that the master ID keeps its
// value.
std::optional<std::int32_t> ParseMasterId(std::string_view text);

// Why OK keeps the setup open: the row to select and what to show.
struct SlaveSetupFailure {
  std::size_t row = 0;
  // The rule's text, shown titled "Error"; empty when the row repeats the
  // identifier of an earlier enabled row (message 301).
  std::string text;

  friend bool operator==(const SlaveSetupFailure&, const SlaveSetupFailure&) = default;
};

// OK of the slave setup. The master ID takes the field's value when it is
// hexadecimal. Every row is read (ReadSlaveRow) into its response, all of
// them whatever the checks find; the rows are checked in order against the
// new master ID (ValidateSlaveRow) up to the first that fails, and only when
// all pass are the enabled responses checked for a repeated identifier.
// Nothing when everything passed.
std::optional<SlaveSetupFailure> StoreSlaveSetup(const SlotGridRows& rows,
                                                 std::string_view masterIdText,
                                                 SlaveResponses& responses, std::int32_t& masterId);

// The preview of a row whose pattern file is the stored slot's: the first
// line of the file that parses, is for the identifier in the row's "IDEN"
// and suits that identifier's defined data length under the option
// settings (RowSuits) puts its data into D0 to D(d-1) ("%02x", d the defined
// length) and empties the other data cells. False, with the row unchanged,
// when "IDEN" holds no identifier, the file cannot be read or no line
// qualifies.
bool PreviewSlavePattern(SlotRow& row, const SimSlot& stored, const PatternRules& rules);

}  // namespace orvane::simulation
