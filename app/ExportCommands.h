// The main frame's exports for other tools: "Export Monitor Data as
// pcapng..." and "Export Capture as pcapng..." (link type LIN, for
// Wireshark) and "Export Signals as CSV..." (the selected signals of every
// frame received, decoded with the loaded LIN description).
//
// Threads: the user-interface thread, like the log saves (LogCommands.h):
// the monitor data while monitoring is stopped, the capture while the
// Capture window is open. Each blocks on its file dialog and the disk.
#pragma once

#include "app/AppContext.h"

namespace orvane::app {

// Each shows its save dialog, writes the file and shows message 105 when
// the file cannot be written. Returns whether it was.
bool ExportMonitorPcapng(const AppContext& context);
bool ExportCapturePcapng(const AppContext& context);
bool ExportSignalsCsv(const AppContext& context);

}  // namespace orvane::app
