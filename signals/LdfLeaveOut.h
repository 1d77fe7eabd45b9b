// What a relaxed load leaves out whole rather than guess at, each item told
// as a relaxation under the rule it breaks:
//  - a signal defined twice with different definitions ("unique signal
//    names"): every definition, and the frame entries and representations
//    that name it, since no one definition can be chosen;
//  - a frame whose identifier is above 0x3F ("identifier 0-0x3f"): no LIN
//    header carries it, so it can never be received;
//  - a representation that names no encoding of the file ("encoding
//    exists"): its signals show their raw values.
// Everything else in the file loads as written. Pure functions; any thread.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "signals/LdfRules.h"
#include "signals/LdfSyntax.h"

namespace orvane::signals {

struct LeftOut {
  std::vector<LdfRuleFailure> told;         // one per item left out
  std::unordered_set<std::string> signals;  // names of the signals left out
};

// The subject suffix of an item left out.
inline constexpr std::string_view kLeftOutNote = " (left out)";

void LeaveOutConflictingSignals(SignalsSyntax& signals, const LdfNames& names, LeftOut& leftOut);
// Also drops the entries of signals left out before.
void LeaveOutUnsendableFrames(FramesSyntax& frames, const LdfNames& names, LeftOut& leftOut);
// Also drops the signals left out before from the lists of the others.
void LeaveOutUnknownEncodings(RepresentationsSyntax& representations, const LdfNames& names,
                              LeftOut& leftOut);

}  // namespace orvane::signals
