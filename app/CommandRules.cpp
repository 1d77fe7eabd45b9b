#include "app/CommandRules.h"

namespace orvane::app {

CommandState CommandStateOf(MainCommand command, const AppState& state,
                            const Configuration& configuration) {
  const bool stopped = !state.Monitoring();
  const std::int32_t mode = state.SimulationMode;
  const bool measuring = mode == kModeBaudrate;
  const bool descriptionLoaded = configuration.Settings.DescriptionReference != 0;
  const settings::OptionSettingsExt& options = configuration.Settings.Options;
  const bool eachMode = options.EachMode != 0;
  const bool monitorOpen = state.WindowOpen[Window::kMonitor];
  const bool reviewing = !state.ReviewFile.empty();
  const bool idle = stopped && state.AcquisitionRunning == 0;
  const auto open = [&](Window window) { return state.WindowOpen[window]; };

  switch (command) {
    case MainCommand::kLoadConfiguration:
    case MainCommand::kSaveConfigurationAs:
    case MainCommand::kSaveConfiguration:
    case MainCommand::kLoadLinDescription:
    case MainCommand::kSaveMonitorLog:
    case MainCommand::kExportMonitorPcapng:
    case MainCommand::kExit:
    case MainCommand::kStart:
    case MainCommand::kStartButton:
    case MainCommand::kOptionSetup:
    case MainCommand::kPatternEdit:
    case MainCommand::kFrameHighlightSetup:
    case MainCommand::kMasterSetup:
    case MainCommand::kSlaveSetup:
    case MainCommand::kStandardLayout:
      return {stopped, false};
    case MainCommand::kCopyMonitorLog:
      return {stopped && !measuring, false};
    case MainCommand::kSaveCaptureLog:
    case MainCommand::kExportCapturePcapng:
      return {open(Window::kCapture), false};
    case MainCommand::kOpenMonitorLog:
      return {idle, false};
    case MainCommand::kExportSignalsCsv:
      return {stopped && descriptionLoaded, false};
    case MainCommand::kDescriptionReport:
      return {descriptionLoaded, false};
    case MainCommand::kStop:
    case MainCommand::kStopButton:
      return {!stopped, false};
    case MainCommand::kCapture:
      return {(!stopped || reviewing) && !measuring, false};
    case MainCommand::kIdentifierDefinition:
      return {stopped && state.IdentifierFieldMode != "ID+DLC", false};
    case MainCommand::kModeNone:
      return {stopped, mode == kModeNone};
    case MainCommand::kModeMaster:
      return {stopped, mode == kModeMaster};
    case MainCommand::kModeSlave:
      return {stopped, mode == kModeSlave};
    case MainCommand::kModeBaudrate:
      return {stopped, measuring};
    case MainCommand::kMonitorWindow:
      return {!measuring, open(Window::kMonitor)};
    case MainCommand::kMasterMonitorWindow:
      return {mode == kModeMaster, open(Window::kMasterMonitor)};
    case MainCommand::kSlaveMonitorWindow:
      return {mode == kModeSlave, open(Window::kSlaveMonitor)};
    case MainCommand::kStatusWindow:
      return {true, open(Window::kStatus)};
    case MainCommand::kBusStatisticsWindow:
      return {true, open(Window::kBusStatistics)};
    case MainCommand::kSignalSelectWindow:
      return {!measuring && descriptionLoaded, open(Window::kSignalSelect)};
    case MainCommand::kSignalMonitorWindow:
      return {!measuring && descriptionLoaded, open(Window::kSignalMonitor)};
    case MainCommand::kSignalPlotWindow:
      return {!measuring && descriptionLoaded, open(Window::kSignalPlot)};
    case MainCommand::kCaptureWindow:
      return {!measuring, open(Window::kCapture)};
    case MainCommand::kFindWindow:
      return {stopped && !measuring, open(Window::kFind)};
    case MainCommand::kEachIdWindow:
      return {!measuring, open(Window::kEachId)};
    case MainCommand::kFrontMonitor:
      return {open(Window::kMonitor), false};
    case MainCommand::kFrontMasterMonitor:
      return {open(Window::kMasterMonitor), false};
    case MainCommand::kFrontSlaveMonitor:
      return {open(Window::kSlaveMonitor), false};
    case MainCommand::kFrontStatus:
      return {open(Window::kStatus), false};
    case MainCommand::kFrontSignalSelect:
      return {open(Window::kSignalSelect), false};
    case MainCommand::kFrontSignalMonitor:
      return {open(Window::kSignalMonitor), false};
    case MainCommand::kFrontCapture:
      return {open(Window::kCapture), false};
    case MainCommand::kFrontEachId:
      return {open(Window::kEachId), false};
    case MainCommand::kAbout:
    case MainCommand::kManual:
      return {true, false};
    case MainCommand::kToggleEachMode:
      return {stopped, !eachMode && monitorOpen};
    case MainCommand::kEachModeOrderOfId:
      return {stopped, eachMode && options.SortOrder == settings::kOrderOfId && monitorOpen};
    case MainCommand::kEachModeOrderOfNode:
      return {stopped && descriptionLoaded,
              eachMode && options.SortOrder == settings::kOrderOfNode && monitorOpen};
  }
  return {};
}

}  // namespace orvane::app
