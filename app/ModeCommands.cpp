#include "app/ModeCommands.h"

#include <utility>

#include "app/WindowTitles.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::app {

namespace {

constexpr std::int32_t kModeSettingErrorMessage = 100;
constexpr std::int32_t kOptionSettingErrorMessage = 102;

void Open(const AppContext& context, Window window) {
  if (!context.state.WindowOpen[window]) context.windows.OpenWindow(window);
}

void Close(const AppContext& context, Window window) {
  if (context.state.WindowOpen[window]) context.windows.CloseWindow(window);
}

bool WriteMode(const AppContext& context, std::int32_t mode) {
  context.state.SimulationMode = mode;
  if (context.analyzer.SetAnalyzerMode(AnalyzerModeOf(mode))) return true;
  monitor::ShowErrorMessage(context.messages, kModeSettingErrorMessage);
  return false;
}

// Offers a change to `mode` when another one is active.
void OfferMode(const AppContext& context, std::int32_t mode, std::string_view question) {
  if (context.state.SimulationMode == mode) return;
  const monitor::MessageAnswer answer =
      context.messages.Show({.caption = kSimulationModeCaption,
                             .text = question,
                             .icon = monitor::MessageIcon::kInformation,
                             .buttons = monitor::MessageButtons::kOkCancel});
  if (answer == monitor::MessageAnswer::kOk) ChangeMode(context, mode);
}

// The master model that the setup dialog may change.
struct MasterModel {
  simulation::MasterSchedules schedules;
  simulation::SimSlot interruptSlot;
  simulation::ScheduleNames names;
  simulation::ExtendedFileTable extendedFiles;
  simulation::MasterRunSettings runSettings;

  static MasterModel Of(const Configuration& configuration) {
    return {configuration.Schedules, configuration.InterruptSlot, configuration.ScheduleNames,
            configuration.ExtendedFiles, configuration.MasterRun};
  }
  void RestoreInto(Configuration& configuration) const {
    configuration.Schedules = schedules;
    configuration.InterruptSlot = interruptSlot;
    configuration.ScheduleNames = names;
    configuration.ExtendedFiles = extendedFiles;
    configuration.MasterRun = runSettings;
  }
};

}  // namespace

std::uint8_t AnalyzerModeOf(std::int32_t simulationMode) {
  switch (simulationMode) {
    case kModeMaster:
      return analyzer::kAnalyzerModeMaster;
    case kModeSlave:
      return analyzer::kAnalyzerModeSlave;
    case kModeBaudrate:
      return analyzer::kAnalyzerModeBaudrate;
    default:
      return analyzer::kAnalyzerModeNone;
  }
}

bool ChangeMode(const AppContext& context, std::int32_t mode) {
  const AppState& state = context.state;
  if (state.SimulationMode == mode) return true;
  if (state.Monitoring() || mode == kModeBaudrate) return false;
  const bool written = WriteMode(context, mode);
  switch (mode) {
    case kModeMaster:
      Open(context, Window::kMasterMonitor);
      Close(context, Window::kSlaveMonitor);
      break;
    case kModeSlave:
      Open(context, Window::kSlaveMonitor);
      Close(context, Window::kMasterMonitor);
      break;
    default:
      Close(context, Window::kSlaveMonitor);
      Close(context, Window::kMasterMonitor);
      break;
  }
  RetitleMonitorWindow(context);
  return written;
}

bool ChangeToBaudrateMeasurement(const AppContext& context) {
  const AppState& state = context.state;
  if (state.SimulationMode == kModeBaudrate) return true;
  if (state.Monitoring()) return false;
  const std::int32_t previous = state.SimulationMode;
  if (!WriteMode(context, kModeBaudrate)) {
    context.state.SimulationMode = previous;
    return false;
  }
  for (const Window window : {Window::kSlaveMonitor, Window::kMasterMonitor, Window::kMonitor,
                              Window::kCapture, Window::kEachId, Window::kFind,
                              Window::kSignalSelect, Window::kSignalMonitor, Window::kSignalPlot}) {
    Close(context, window);
  }
  Open(context, Window::kStatus);
  return true;
}

void RunMasterSimulationSetup(const AppContext& context, const SetupDialog& dialog) {
  const MasterModel copy = MasterModel::Of(context.configuration);
  if (!dialog()) {
    copy.RestoreInto(context.configuration);
    return;
  }
  OfferMode(context, kModeMaster, kChangeToMasterQuestion);
  if (context.state.WindowOpen[Window::kMasterMonitor]) {
    context.state.ViewUpdateCode.Master = kUpdateMasterSetup;
    context.windows.RefreshAllViews();
  }
}

void RunSlaveSimulationSetup(const AppContext& context, const SetupDialog& dialog) {
  Configuration& configuration = context.configuration;
  const simulation::SlaveResponses responses = configuration.SlaveResponses;
  const std::int32_t masterId = configuration.SlaveMasterId;
  if (!dialog()) {
    configuration.SlaveResponses = responses;
    configuration.SlaveMasterId = masterId;
    return;
  }
  context.state.ViewUpdateCode.Slave = kUpdateSlaveSetup;
  context.windows.RefreshAllViews();
  OfferMode(context, kModeSlave, kChangeToSlaveQuestion);
}

void OptionSetupAccepted(const AppContext& context) {
  Configuration& configuration = context.configuration;
  context.windows.PublishEachMode();
  if (!context.analyzer.WriteFrameParameters(configuration.Options,
                                             configuration.Settings.Options)) {
    monitor::ShowErrorMessage(context.messages, kOptionSettingErrorMessage);
    return;
  }
  context.state.ViewUpdateCode.Status = kUpdateSettings;
  context.windows.RefreshAllViews();
  RetitleMonitorWindow(context);
  context.windows.RefreshSignalWindows();
}

void FrameHighlightSetupAccepted(const AppContext& context) {
  context.state.ViewUpdateCode.Monitor = kUpdateSettings;
  context.windows.RefreshAllViews();
}

void IdentifierDefinitionAccepted(const AppContext& context) {
  if (!context.analyzer.WriteLengthTable(context.configuration.Settings.Identifiers)) {
    context.messages.Show(settings::kLengthTableWriteFailedMessage);
    return;
  }
  AppState& state = context.state;
  if (state.WindowOpen[Window::kSlaveMonitor]) state.ViewUpdateCode.Slave = kUpdateSlaveSetup;
  if (state.WindowOpen[Window::kMasterMonitor]) state.ViewUpdateCode.Master = kUpdateMasterSetup;
  context.windows.RefreshAllViews();
}

}  // namespace orvane::app
