// Last stage of reading a LIN description file: turning sections whose rules
// held into the description, resolving names to indices. Each function
// expects that the section's rules (signals/LdfRules.h) held and records the
// new names in `names` for the sections that follow. Any thread.
#pragma once

#include "signals/LdfRules.h"
#include "signals/LdfSyntax.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

void BuildNodes(const NodesSyntax& nodes, LinDescription& description, LdfNames& names);
void BuildSignals(const SignalsSyntax& signals, LinDescription& description, LdfNames& names);
// Also orders the frames by publisher (the master's first, then slave 0's,
// slave 1's ..., file order within each) and builds the identifier maps.
void BuildFrames(const FramesSyntax& frames, LinDescription& description, const LdfNames& names);
void BuildEncodings(const EncodingsSyntax& encodings, LinDescription& description,
                    LdfNames& names);
// Gives each listed signal its encoding.
void BuildRepresentations(const RepresentationsSyntax& representations,
                          LinDescription& description, const LdfNames& names);

// The initial value of a signal: a scalar as written; array byte k as bits
// 8k ... 8k + 7, where bytes beyond the eighth are dropped (only the low 64
// bits are kept).
std::uint64_t InitialValue(const SignalSyntax& signal);

}  // namespace orvane::signals
