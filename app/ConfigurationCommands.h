// The main frame's configuration file commands: Load (32776), Save (32777),
// Save as (32794), and the write when the main frame is destroyed.
//
// Threads: the user-interface thread. Each blocks on its file dialog, the
// disk, the LIN description reload and, after a load, the register writes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/AppContext.h"
#include "app/AtomicFile.h"
#include "app/LinDescriptionLoader.h"

namespace orvane::app {

inline constexpr std::string_view kSelectProjectFileText = "Please select a project file name.";
inline constexpr char kDefaultConfigurationFileName[] = "default.cfg";

// Load: the open dialog (initial name ConfigPath or "*.cfg"), then
// LoadConfigurationFrom the chosen file. Nothing happens on Cancel.
void LoadConfiguration(const AppContext& context, LinDescriptionLoader& descriptions);

// Reads `path` with the load command's questions. A file that cannot be
// read shows message 108 and changes nothing else. A file whose LIN 2.0 data
// the user declined to convert is not adopted. Otherwise the frame
// parameters and length table go to the analyzer (message 102 when they
// cannot, the settings stay changed), the views and signal windows learn of
// the new settings, the master tables are rebuilt and `path` becomes
// ConfigPath and the main title. Returns whether the file was adopted.
bool LoadConfigurationFrom(const AppContext& context, LinDescriptionLoader& descriptions,
                           const std::string& path);

// Save: writes to ConfigPath when it can; otherwise (after "Please select a
// project file name." when ConfigPath names a file that cannot be written)
// continues as Save as. Returns whether the configuration was written.
bool SaveConfiguration(const AppContext& context);

// Save as: the save dialog, then the write. A failed write shows message 109
// and keeps the current ConfigPath, so that no file that does not hold the
// configuration is presented as the current one. Returns whether the
// configuration was written.
bool SaveConfigurationAs(const AppContext& context);

struct ExitWriteResult {
  std::string configPath;  // ConfigPath afterwards, for the stored LastPath
  WriteResult write;
};

// The write when the main frame is destroyed: an empty ConfigPath becomes
// "default.cfg" in WritableFolder(ProgramFolder) (see DataFolder.h); the
// configuration is written there.
ExitWriteResult WriteConfigurationAtExit(const AppContext& context);

}  // namespace orvane::app
