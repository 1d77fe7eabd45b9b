#include "app/AppContext.h"

#include <algorithm>

#include "app/DataFolder.h"
#include "settings/FixedText.h"

namespace orvane::app {

simulation::MasterSimulation MasterSimulationOf(const AppContext& context) {
  Configuration& configuration = context.configuration;
  return {.schedules = configuration.Schedules,
          .interruptSlot = configuration.InterruptSlot,
          .extendedFiles = configuration.ExtendedFiles,
          .settings = configuration.MasterRun,
          .state = context.master,
          .rules = {configuration.Options, configuration.Settings.Identifiers},
          .link = context.analyzer,
          .messages = context.messages};
}

simulation::SlaveSimulation SlaveSimulationOf(const AppContext& context) {
  Configuration& configuration = context.configuration;
  return {.responses = configuration.SlaveResponses,
          .state = context.slave,
          .rules = {configuration.Options, configuration.Settings.Identifiers},
          .link = context.analyzer,
          .messages = context.messages};
}

monitor::LogFormat MakeLogFormat(const settings::IdentifierDefinition& identifiers,
                                 const settings::OptionSettingsExt& options,
                                 std::string_view identifierFieldMode, std::string_view dataRadix) {
  monitor::LogFormat format;
  std::ranges::copy(identifiers.dataLength, format.dataLengths.begin());
  for (std::size_t channel = 0; channel < settings::kIoChannelCount; ++channel) {
    const settings::IoChannel& io = options.IoChannels[channel];
    format.ioEventNames[2 * channel] = settings::FieldText(io.risingName);
    format.ioEventNames[2 * channel + 1] = settings::FieldText(io.fallingName);
  }
  format.SetIdentifierField(identifierFieldMode, dataRadix);
  return format;
}

analyzer::AcquisitionSettings MakeAcquisitionSettings(const AppContext& context) {
  const AppState& state = context.state;
  const Configuration& configuration = context.configuration;
  analyzer::AcquisitionSettings acquisition;
  acquisition.loggingEnabled = configuration.Options.LoggingEnabled != 0;
  acquisition.logPath = state.LogPath;
  acquisition.defaultLogFolder = WritableFolder(state.ProgramFolder);
  acquisition.logFormat =
      MakeLogFormat(configuration.Settings.Identifiers, configuration.Settings.Options,
                    state.IdentifierFieldMode, state.DataRadix);
  acquisition.mask.MaskEnabled = configuration.Options.MaskEnabled != 0;
  acquisition.mask.MaskIds = configuration.Options.MaskIds;
  acquisition.sortOrder = configuration.Settings.Options.SortOrder;
  if (acquisition.sortOrder == settings::kOrderOfNode) {
    acquisition.nodeOrder = context.description.NodeOrder().get();
  }
  return acquisition;
}

static_assert(sizeof(settings::SignalSelection) == signals::kSelectionBytes);

signals::SignalSelection SelectionOf(settings::SettingsRecord& settings) {
  auto* bytes = reinterpret_cast<std::uint8_t*>(&settings.Selection);
  return signals::SignalSelection(
      std::span<std::uint8_t, signals::kSelectionBytes>(bytes, signals::kSelectionBytes));
}

monitor::LogFormat CurrentLogFormat(const AppContext& context) {
  if (context.state.ReviewLogFormat) return *context.state.ReviewLogFormat;
  const Configuration& configuration = context.configuration;
  return MakeLogFormat(configuration.Settings.Identifiers, configuration.Settings.Options,
                       context.state.IdentifierFieldMode, context.state.DataRadix);
}

}  // namespace orvane::app
