// The LIN 2.x sections beside the ones the signal windows use:
//   Diagnostic_signals { name ":" size "," initial ";" ... }
//   Diagnostic_frames { name ":" id "{" { signal "," offset ";" } "}" ... }
//   Event_triggered_frames { name ":" [schedule ","] id {"," frame} ";" ... }
//   Sporadic_frames { name ":" frame {"," frame} ";" ... }
//   Node_attributes { node "{" { attribute "=" values ";" | block } "}" ... }
// Each is found wherever it stands at the top level of the file, so reading
// them never moves or fails the load of the other sections: a section that
// does not follow its grammar is left out whole. Pure function; any thread.
#pragma once

#include <string_view>

#include "signals/LinDescription.h"

namespace orvane::signals {

// Fills the description's diagnostic, event-triggered, sporadic and node
// attribute lists from the comment-free text of a whole file.
void ReadLin2Sections(std::string_view commentFreeText, LinDescription& description);

}  // namespace orvane::signals
