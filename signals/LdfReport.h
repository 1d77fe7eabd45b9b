// Texts that tell where a LIN description load failed and which rules a
// relaxed load let pass. Pure functions; any thread.
#pragma once

#include <string>

#include "signals/LdfLoader.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

// Where and why a failed load stopped, one line:
//   "line 17: names of at most 31 characters: SLAVE5_LADLADversdflng_BumBrum_li"
//   "line 12: no empty texts: \"\""   (texts keep their quotes)
//   "section missing: Nodes"         (no line for what is not there)
//   "cannot open /x/y.ldf: No such file or directory"
// Empty when the outcome tells nothing more than its message.
std::string DescribeLoadFailure(const LoadOutcome& outcome);

// The Description Report: one line per relaxed rule, "line N: rule: subject",
// in file order; "No rules were relaxed." when there is none (a strict load
// relaxes nothing). Lines end with "\n".
std::string DescriptionReport(const LinDescription& description);

}  // namespace orvane::signals
