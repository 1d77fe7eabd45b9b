// Leaving the program: the Exit command (32779), the close rules of the
// main window, and what the main frame does when it is destroyed.
//
// Threads: the user-interface thread. ConfirmClose blocks on its question;
// ShutDownMainFrame on the disk.
#pragma once

#include <string_view>

#include "app/AppContext.h"
#include "app/ConfigurationCommands.h"
#include "app/LinDescriptionLoader.h"

namespace orvane::app {

inline constexpr std::string_view kExitCaption = "Exit";
inline constexpr std::string_view kExitQuestion = "Do you want to exit VXL View ?    ";

// Exit: when no shutdown is under way, marks it requested by the user and
// posts the exit command.
void RequestExit(const AppContext& context);

// Whether the main window may close now. A forced shutdown (the analyzer is
// lost or its link failed) always closes, also while a stop is still
// draining, so that the program ends as it said it would. Otherwise closing
// while monitoring shows message 103 and is refused, and the user is asked
// kExitQuestion; anything but OK clears the shutdown state and keeps the
// program running.
bool ConfirmClose(const AppContext& context);

// When the main frame is destroyed: writes the configuration
// (WriteConfigurationAtExit) and releases the master and slave simulation
// data and the LIN description. The caller stores the result's path as
// LastPath.
ExitWriteResult ShutDownMainFrame(const AppContext& context, LinDescriptionLoader& descriptions);

}  // namespace orvane::app
