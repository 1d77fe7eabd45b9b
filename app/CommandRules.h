// When the main frame's commands are available and when their menu items
// carry a check mark, by the run state, the simulation mode, the open
// windows and the settings. The GUI asks before it shows a menu or the
// dialog bar. Pure functions; any thread that may read the state.
#pragma once

#include <cstdint>

#include "app/AppState.h"
#include "app/Configuration.h"

namespace orvane::app {

// The command identifiers of menu 128 and the dialog bar.
enum class MainCommand : std::int32_t {
  kLoadConfiguration = 32776,
  kSaveConfigurationAs = 32794,
  kSaveConfiguration = 32777,
  kLoadLinDescription = 32827,
  kSaveMonitorLog = 32778,
  kCopyMonitorLog = 32802,
  kSaveCaptureLog = 32830,
  // Review and interchange.
  kOpenMonitorLog = 32850,
  kExportMonitorPcapng = 32851,
  kExportCapturePcapng = 32852,
  kExportSignalsCsv = 32853,
  kDescriptionReport = 32854,
  kSignalPlotWindow = 32855,
  kBusStatisticsWindow = 32856,
  kExit = 32779,
  kStart = 32771,
  kStartButton = 1000,
  kStop = 32772,
  kStopButton = 1001,
  kCapture = 32829,
  kOptionSetup = 32791,
  kIdentifierDefinition = 32804,
  kPatternEdit = 32811,
  kFrameHighlightSetup = 32832,
  kModeNone = 32796,
  kModeMaster = 32809,
  kModeSlave = 32810,
  kModeBaudrate = 32828,
  kMasterSetup = 32807,
  kSlaveSetup = 32808,
  kMonitorWindow = 32782,
  kMasterMonitorWindow = 32812,
  kSlaveMonitorWindow = 32813,
  kStatusWindow = 32793,
  kSignalSelectWindow = 32823,
  kSignalMonitorWindow = 32825,
  kCaptureWindow = 32833,
  kFindWindow = 32835,
  kEachIdWindow = 32837,
  kFrontMonitor = 32798,
  kFrontMasterMonitor = 32814,
  kFrontSlaveMonitor = 32815,
  kFrontStatus = 32801,
  kFrontSignalSelect = 32824,
  kFrontSignalMonitor = 32826,
  kFrontCapture = 32834,
  kFrontEachId = 32838,
  kStandardLayout = 32803,
  kAbout = 57664,
  kManual = 32795,
  kToggleEachMode = 32818,
  kEachModeOrderOfId = 32805,
  kEachModeOrderOfNode = 32806,
};

struct CommandState {
  bool enabled = false;
  bool checked = false;

  friend bool operator==(const CommandState&, const CommandState&) = default;
};

// Availability and check mark of `command`; an identifier that is not a
// main frame command is neither.
CommandState CommandStateOf(MainCommand command, const AppState& state,
                            const Configuration& configuration);

}  // namespace orvane::app
