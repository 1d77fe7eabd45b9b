// Where the files the program writes on its own go (default.cfg, the default
// live log, the temporary copy of the monitor log): the program folder when
// it can be written, as in a build folder, otherwise the user's data folder,
// as for an installed program whose folder belongs to root.
//
// Threads: any. Touches the file system (creates the user's data folder).
#pragma once

#include <filesystem>

namespace orvane::app {

// The user's data folder of the program (XDG_DATA_HOME/orvane, else
// ~/.local/share/orvane), created when missing; empty when neither
// XDG_DATA_HOME nor HOME is set.
std::filesystem::path UserDataFolder();

// `programFolder` when the process may write into it, otherwise
// UserDataFolder().
std::filesystem::path WritableFolder(const std::filesystem::path& programFolder);

}  // namespace orvane::app
