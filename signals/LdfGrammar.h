// The grammar of the sections this parser reads. Each function starts right
// behind its section keyword and returns the section as written, or nullopt
// when the text does not follow the grammar (the section then fails with its
// message). Not thread-safe per scanner; no other state.
#pragma once

#include <optional>

#include "signals/LdfScanner.h"
#include "signals/LdfSyntax.h"

namespace orvane::signals {

// "=" quoted text ";"
std::optional<VersionSyntax> ParseVersion(LdfScanner& scanner);
// "=" real "kbps" ";"
std::optional<SpeedSyntax> ParseSpeed(LdfScanner& scanner);
// "{" "Master" ":" name "," real "ms" "," real "ms" ";" ["Slaves" ":" names ";"] "}"
std::optional<NodesSyntax> ParseNodes(LdfScanner& scanner);
// "{" { name ":" size "," initial "," publisher {"," subscriber} ";" } "}"
// where initial is an integer or "{" byte {"," byte} "}".
std::optional<SignalsSyntax> ParseSignals(LdfScanner& scanner);
// "{" { name ":" id "," publisher ["," length] "{" { signal [","] offset [";"] } "}" } "}"
std::optional<FramesSyntax> ParseFrames(LdfScanner& scanner);
// "{" { name "{" { value ";" } "}" } "}" with the value kinds logical_value,
// physical_value, bcd_value and ascii_value.
std::optional<EncodingsSyntax> ParseEncodings(LdfScanner& scanner);
// "{" { encoding ":" signal {"," signal} ";" } "}"
std::optional<RepresentationsSyntax> ParseRepresentations(LdfScanner& scanner);

}  // namespace orvane::signals
