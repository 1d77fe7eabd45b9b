// A LIN description only relaxed rules let pass: it has no Slaves line and
// its one signal, in frame KeepAlive (identifier 59), has no subscriber.
#pragma once

#include <string_view>

namespace orvane::app::testing {

inline constexpr std::string_view kRelaxedOnlyLdf =
    "LIN_description_file;\n"
    "LIN_protocol_version = \"2.1\";\n"
    "LIN_language_version = \"2.1\";\n"
    "LIN_speed = 19.2 kbps;\n"
    "Nodes {\n  Master: Gw, 5 ms, 0.1 ms;\n}\n"
    "Signals {\n  Alive: 8, 255, Gw;\n}\n"
    "Frames {\n  KeepAlive: 59, Gw, 8 {\n    Alive, 0;\n  }\n}\n";

}  // namespace orvane::app::testing
