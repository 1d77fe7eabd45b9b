// The rules a master schedule slot, the interrupt slot, a slave response and
// a schedule name must meet before the setup dialogs accept them. Each rule
// gives the exact text the dialog shows in a box titled "Error", or an empty
// text when the input is valid. Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/SimRecords.h"

namespace orvane::simulation {

// An identifier above 0x3F on an enabled slot (also refused by the master
// simulation monitor's identifier edits).
inline constexpr std::string_view kIdentifierRangeText = "Enter proper ID value.(00h-3Fh)";

inline constexpr std::int32_t kMinTimerInterval = 50;

// Checks A and B of a master schedule slot, one after the other; the first
// that yields a text decides.
//  A: pattern without a file or trigger; else an identifier above 0x3F;
//     then, replacing either, an enabled slot without a delay (-1).
//  B: a timer interval below 50 ms; then, replacing it, a delay of 0 or
//     above 65535 (also on disabled slots; -1 passes).
std::string ValidateSlot(const SimSlot& slot);

// Check A alone, as the setup runs it on the interrupt slot.
std::string ValidateInterruptSlot(const SimSlot& slot);

// Renaming schedule `index` to `name`: "Please enter a schedule name." for
// an empty name, "There is a schedule of the same name." when another
// schedule has it (case-sensitive), "Please enter ASCII characters.(0-9,A-Z)"
// for 256 characters or more or any character other than 0-9, A-Z, a-z.
std::string CheckScheduleName(const ScheduleNames& names, std::string_view name, std::size_t index);

// A slave response: pattern without a file or trigger; a timer interval
// below 50 ms (replacing it); then, only without a text yet, an enabled
// response on an identifier above 0x3F, or on the bus master's identifier
// ("%02xh is master ID. Please select another one.").
std::string ValidateSlaveResponse(const SimSlot& response, std::int32_t masterId);

// ValidateSlaveResponse as the slave setup's OK runs it on each row: a
// response on 0x3E or 0x3F, enabled or not, gives "Extend frame can't be
// registed." instead.
std::string ValidateSlaveRow(const SimSlot& response, std::int32_t masterId);

// The first enabled response that repeats the identifier of an earlier
// enabled one (the slave setup selects it and shows message 301), or nothing.
std::optional<std::size_t> FindDuplicateSlaveIdentifier(const SlaveResponses& responses);

}  // namespace orvane::simulation
