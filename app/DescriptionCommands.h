// The main frame's "Load LIN Description File..." command (32827), and how
// the signal windows follow the loaded description.
//
// Threads: the user-interface thread, while monitoring is stopped (the
// command is available only then). The load blocks on its file dialog, on
// its failure box and while the file is read and parsed.
#pragma once

#include <string_view>

#include "app/AppContext.h"

namespace orvane::app {

// The caption of the boxes that report a description that does not load.
inline constexpr std::string_view kApplicationTitle = "Q427-VXL View";
inline constexpr std::string_view kDescriptionPathTooLongText =
    "The path of the LIN description file is too long (more than 259 bytes).";

// Asks for a LIN description file (open dialog "Select LIN description file
// ...", filter "LIN description file (*.ldf)", offering the description path
// of the settings record) and reads it with the wait cursor shown.
// - Loaded: it replaces the loaded description, the signal selection is
//   cleared, and its path and a non-zero reference go into the settings
//   record.
// - Fails to read or parse: its message in a box with the stop icon titled
//   kApplicationTitle, where it failed in the box's detail; nothing changes.
//   When a load with relaxed rules would get through, the box also offers
//   "Load with relaxed rules", which loads the file so.
// - Cancelled, or a path that does not fit into the settings record
//   (kDescriptionPathTooLongText, so that no cut path is ever stored):
//   nothing changes.
// In every case the signal windows then follow the loaded description
// (FollowLoadedDescription). Returns whether a file was loaded.
bool LoadLinDescriptionFile(const AppContext& context);

// The Signal select and Signal monitor windows are refreshed when a
// description is loaded, otherwise closed when open.
void FollowLoadedDescription(const AppContext& context);

}  // namespace orvane::app
