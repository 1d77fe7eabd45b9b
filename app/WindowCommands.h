// The main frame's commands that open, close and arrange windows: the
// window toggles of the View menu, Capture, the Find window, bringing a
// window to the front, the standard layout, and the monitor's each mode.
// The windows themselves are the GUI's; these commands only decide what to
// ask of them (WindowRequests) and which titles they get.
//
// Threads: the user-interface thread; nothing blocks beyond the requests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/AppContext.h"

namespace orvane::app {

// The caption a window's title begins with: "Monitor Window", "Master
// Simulation Monitor Window", "Slave Simulation Monitor Window", "Status
// Window", "Signal Select Window", "Signal Monitor Window", "Capture
// Window", "Each ID Window"; the Find window has none of its own here.
std::string_view WindowBaseName(Window window);

// Commands 32782, 32812, 32813, 32793, 32823, 32825, 32833, 32837: closes
// the window when open, else opens it; the Monitor and Each ID windows then
// get their titles, and the "Save Capture" button follows the Capture
// window.
void ToggleWindow(const AppContext& context, Window window);

// Command 32829: opens the Capture window when closed, tells the monitor
// views that a capture was taken, enables "Save Capture" and brings the
// Capture window to the front.
void TakeCapture(const AppContext& context);

// Command 32835: opens the Find window, or brings it to the front.
void ShowFindWindow(const AppContext& context);

// Commands 32798, 32814, 32815, 32801, 32824, 32826, 32834, 32838.
void BringWindowToFront(const AppContext& context, Window window);

// Command 32803: forgets every saved placement, then closes and reopens
// each open window (Monitor, Status, the simulation monitors, the signal
// windows, Capture, Each ID, in this order) at its default place.
void ApplyStandardLayout(const AppContext& context);

// Command 32818, while stopped: each mode on or off; published, and the
// Monitor window re-titled.
void ToggleEachMode(const AppContext& context);

// Commands 32805 (Order of ID) and 32806 (Order of Node), while stopped:
// each mode on with that order, or off when it was already on with it.
// Published, the Monitor and Each ID windows re-titled, the signal windows
// refreshed.
void SelectEachModeOrder(const AppContext& context, std::uint8_t sortOrder);

inline constexpr std::string_view kManualOpenErrorText = "Users Manual Open Error";

// The user manual in the program folder: "vxlmanj.html" for the language
// code "JPN" when that file is there, else the English "vxlmane.html".
std::filesystem::path ManualPath(const AppState& state);

// Command 32795: opens the manual with the desktop's viewer;
// kManualOpenErrorText when that fails.
void OpenManual(const AppContext& context);

}  // namespace orvane::app
