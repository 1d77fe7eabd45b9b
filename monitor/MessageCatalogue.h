// The catalogue of numbered error messages and ShowErrorMessage, through
// which most error reports of the program reach the user.
//
// Threads: any thread (the GUI thread and the firmware download thread raise
// messages). ShowErrorMessage blocks until the box is closed.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/MessageSink.h"

namespace orvane::monitor {

// The catalogue text of `code`, or "Error[<code>]" for a code outside it.
std::string MessageText(std::int32_t code);

// Shows MessageText(code) titled "Error" with the exclamation icon and an OK
// button, unless the sink cannot show messages (no main window, or it is
// shutting down); then nothing is shown.
void ShowErrorMessage(MessageSink& sink, std::int32_t code);

}  // namespace orvane::monitor
