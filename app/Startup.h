// What every start that reads a configuration does, for the program and
// orvane-cli alike: restoring the configuration at start-up, and preparing
// and downloading the settings once the LIN revision is known.
//
// Threads: the controlling thread; blocks on the disk, the LIN description
// reload and the register writes.
#pragma once

#include <filesystem>
#include <string_view>

#include "analyzer/RegisterMap.h"
#include "app/AppState.h"
#include "app/Configuration.h"
#include "app/ConfigurationFile.h"
#include "app/LinDescriptionLoader.h"
#include "monitor/MessageSink.h"

namespace orvane::app {

inline constexpr std::string_view kConfigurationLoadErrorText =
    "Application setup default parameter due to    \nConfiguration File Load Error.    ";

// Reads the configuration file a start begins with, without questions. A
// file that is read leaves both pattern modes 0 ("Ignore over data", "Set
// the following data": they are not stored in files); otherwise every
// setting has its default (pattern modes 1). The LIN description path
// starts as the program folder. Returns how the read went.
ReadResult ReadStartupConfiguration(const std::filesystem::path& path, Configuration& configuration,
                                    LinDescriptionLoader& descriptions,
                                    monitor::MessageSink& messages,
                                    const std::filesystem::path& programFolder);

// The program's start-up: the candidate file (named on the command line,
// else the stored last path) becomes ConfigPath when it is read; otherwise
// kConfigurationLoadErrorText is shown ("Error", exclamation), ConfigPath
// is cleared and the defaults apply.
void RestoreConfiguration(const std::filesystem::path& candidate, AppState& state,
                          Configuration& configuration, LinDescriptionLoader& descriptions,
                          monitor::MessageSink& messages);

// LIN 1.3 has no break select and no enhanced checksums: both are taken
// back when that revision is chosen.
void ApplyLinRevision(Configuration& configuration);

// Frame parameters, length table and LIN revision to the analyzer, each
// only after the one before succeeded. Returns whether all three did.
bool DownloadSettings(const analyzer::RegisterMap& map, settings::OptionSettings& options,
                      const settings::OptionSettingsExt& extension,
                      const settings::IdentifierDefinition& identifiers,
                      std::uint32_t linRevision);

}  // namespace orvane::app
