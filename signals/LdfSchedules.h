// The schedule tables of a LIN description file:
//   Schedule_tables { <table> { <entry> delay <real> ms ; ... } ... }
// where an entry is a frame name, MasterReq, SlaveResp, or a command with its
// arguments in braces (AssignNAD { LSM }, FreeFormat { 1, 2, ... } ...).
//
// Reading them never fails a load: a table that cannot be read is left out
// and told as a problem. Pure function; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "signals/LdfComments.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

// Reads the section from the comment-free text of a whole file (see
// LdfComments.h). A plain entry's frame is the index of the frame of that
// name in `description`, -1 when it has none; an entry with arguments is
// kept as its text with each run of blanks made one space, frame -1. A
// table's line is the file line of its name by `lines` (from
// RemoveComments), or without them the 1-based line in `commentFreeText`.
// Each table left out adds a text naming it, its line and what broke to
// `problems` when given. No section: no tables.
std::vector<ScheduleTable> ReadScheduleTables(std::string_view commentFreeText,
                                              const LinDescription& description,
                                              std::vector<std::string>* problems = nullptr,
                                              const LineMap* lines = nullptr);

}  // namespace orvane::signals
