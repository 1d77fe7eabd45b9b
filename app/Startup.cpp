#include "app/Startup.h"

#include "settings/IdentifierDefinition.h"

namespace orvane::app {

ReadResult ReadStartupConfiguration(const std::filesystem::path& path, Configuration& configuration,
                                    LinDescriptionLoader& descriptions,
                                    monitor::MessageSink& messages,
                                    const std::filesystem::path& programFolder) {
  SetDefaults(configuration, programFolder.string());
  if (path.empty()) return ReadResult{ReadStatus::Failed, "no configuration file named"};
  const ReadResult read = ReadConfiguration(path, false, configuration, descriptions, messages);
  if (read.status == ReadStatus::Loaded) {
    configuration.Options.ShortPatternMode = 0;
    configuration.Options.LongPatternMode = 0;
  } else {
    SetDefaults(configuration, programFolder.string());
  }
  return read;
}

void RestoreConfiguration(const std::filesystem::path& candidate, AppState& state,
                          Configuration& configuration, LinDescriptionLoader& descriptions,
                          monitor::MessageSink& messages) {
  if (ReadStartupConfiguration(candidate, configuration, descriptions, messages,
                               state.ProgramFolder)
          .status == ReadStatus::Loaded) {
    state.ConfigPath = candidate.string();
    return;
  }
  monitor::ShowErrorBox(messages, kConfigurationLoadErrorText, monitor::MessageIcon::kExclamation);
  state.ConfigPath.clear();
}

void ApplyLinRevision(Configuration& configuration) {
  if (configuration.Settings.LinRevision != settings::kLin13) return;
  configuration.Settings.Options.BreakSelect = 0;
  settings::ConvertToLin13(configuration.Settings.Identifiers);
}

bool DownloadSettings(const analyzer::RegisterMap& map, settings::OptionSettings& options,
                      const settings::OptionSettingsExt& extension,
                      const settings::IdentifierDefinition& identifiers,
                      std::uint32_t linRevision) {
  return map.WriteFrameParameters(options, extension) && map.WriteLengthTable(identifiers) &&
         map.WriteLinRevision(linRevision);
}

}  // namespace orvane::app
