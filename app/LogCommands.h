// The main frame's commands on the monitored records: "Save Monitor Log
// Data as..." (32778) and "Copy Monitor Log Data" (32802).
//
// Threads: the user-interface thread, while monitoring is stopped (the
// commands are available only then). Both block on the disk; the save also
// on its file dialog.
#pragma once

#include <optional>
#include <string>

#include "app/AppContext.h"

namespace orvane::app {

// The save dialog (default name "default.log"), then the MonitorBuffer's
// records, oldest first, as log lines into the chosen file; message 105
// when the file cannot be written. Returns whether it was.
bool SaveMonitorLog(const AppContext& context);

// The MonitorBuffer's records as log text for the clipboard, made through
// the temporary file "log.$$$" in the program folder; nothing when that
// file cannot be written or read (the command then ends quietly).
std::optional<std::string> CopyMonitorLog(const AppContext& context);

}  // namespace orvane::app
