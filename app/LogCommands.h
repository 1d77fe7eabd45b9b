// The main frame's commands on the monitored records: "Save Monitor Log
// Data as..." (32778), "Copy Monitor Log Data" (32802) and "Save Capture
// Log Data as..." (32830).
//
// Threads: the user-interface thread; the monitor commands while monitoring
// is stopped (they are available only then), the capture command while the
// Capture window is open. Each blocks on the disk; the saves also on their
// file dialogs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/AppContext.h"

namespace orvane::app {

// The save dialog `request`, then `write` into the chosen file; message
// 105 when that fails. Returns whether the file was written. The log saves
// and the exports share it.
bool SaveThroughDialog(const AppContext& context, const FileDialogRequest& request,
                       const std::function<bool(const std::string& path)>& write);

// The save dialog (default name "default.log"), then the MonitorBuffer's
// records, oldest first, as log lines into the chosen file; message 105
// when the file cannot be written. Returns whether it was.
bool SaveMonitorLog(const AppContext& context);

inline constexpr std::string_view kSaveCaptureDialogTitle = "Save Log File from Capture Window ...";

// The save dialog titled kSaveCaptureDialogTitle (default name
// "default.log"), then the capture's kept records, oldest first, as log
// lines into the chosen file (an extended frame with all of its data
// bytes); message 105 when the file cannot be written. Returns whether it
// was.
bool SaveCaptureLog(const AppContext& context);

// The MonitorBuffer's records as log text for the clipboard, made through
// the temporary file "log.$$$" in WritableFolder(ProgramFolder); nothing
// when that file cannot be written or read (the command then ends quietly).
std::optional<std::string> CopyMonitorLog(const AppContext& context);

}  // namespace orvane::app
