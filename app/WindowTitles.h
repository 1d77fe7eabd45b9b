// The captions the main frame gives itself, the Monitor window and the Each
// ID window, and the re-titling of the Monitor window after a change of
// mode, logging or each mode. Pure text functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/AppContext.h"

namespace orvane::app {

// "Q427-VXL View Ver.3.11", followed by " - [<path>]" when a configuration
// file is current.
std::string MainFrameTitle(std::string_view configPath);

// "Monitor Window " with the each mode and its order, the simulation mode
// and " / Logging Enable" when logging is on, e.g.
// "Monitor Window - [Master Simulation Mode / Logging Enable]".
std::string MonitorWindowTitle(bool eachMode, std::uint8_t sortOrder, std::int32_t simulationMode,
                               bool loggingEnabled);

// "Monitor Window - [<file name>]" while a saved file is reviewed.
std::string ReviewWindowTitle(std::string_view fileName);

// "Each ID Window - (Order of ID)" or "Each ID Window - (Order of Node)".
std::string EachIdWindowTitle(std::uint8_t sortOrder);

// The main frame's title for the current ConfigPath.
void RetitleMainFrame(const AppContext& context);
// The open Monitor window's title for the current settings and mode.
void RetitleMonitorWindow(const AppContext& context);

}  // namespace orvane::app
