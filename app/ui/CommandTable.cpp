#include "app/ui/CommandTable.h"

#include <array>

namespace orvane::ui {
namespace {

using C = app::MainCommand;
using M = MenuName;

constexpr std::array kTitles = {
    MenuTitle{M::kFile, "&File"},
    MenuTitle{M::kMonitor, "&Monitor"},
    MenuTitle{M::kConfiguration, "&Configuration"},
    MenuTitle{M::kMode, "M&ode", true},
    MenuTitle{M::kView, "&View"},
    MenuTitle{M::kWindow, "&Window"},
    MenuTitle{M::kHelp, "&Help"},
};

constexpr std::array kEntries = {
    MenuEntry{M::kFile, C::kLoadConfiguration, "&Load Configuration File...", "Ctrl+L"},
    MenuEntry{M::kFile, C::kSaveConfigurationAs, "Save Configuration File &as...", ""},
    MenuEntry{M::kFile, C::kSaveConfiguration, "&Save Configration File", "Ctrl+S"},
    MenuEntry{M::kFile, C::kLoadLinDescription, "Load LIN &Description File...", "Ctrl+O", true},
    MenuEntry{M::kFile, C::kSaveMonitorLog, "Save Monitor Log Data as...", "", true},
    MenuEntry{M::kFile, C::kCopyMonitorLog, "Copy Monitor Log Data", ""},
    MenuEntry{M::kFile, C::kSaveCaptureLog, "Save Capture Log Data as...", ""},
    MenuEntry{M::kFile, C::kOpenMonitorLog, "Open Monitor Log...", "", true},
    MenuEntry{M::kFile, C::kExportMonitorPcapng, "Export Monitor Data as pcapng...", ""},
    MenuEntry{M::kFile, C::kExportCapturePcapng, "Export Capture as pcapng...", ""},
    MenuEntry{M::kFile, C::kExportSignalsCsv, "Export Signals as CSV...", ""},
    MenuEntry{M::kFile, C::kExit, "E&xit", "Ctrl+Q", true},
    MenuEntry{M::kMonitor, C::kStart, "&Start", "Shift+S"},
    MenuEntry{M::kMonitor, C::kStop, "&Stop", "Shift+E"},
    MenuEntry{M::kMonitor, C::kCapture, "&Capture", ""},
    MenuEntry{M::kConfiguration, C::kOptionSetup, "&Option Setup...", ""},
    MenuEntry{M::kConfiguration, C::kIdentifierDefinition, "&Identifier Definition Setup...", ""},
    MenuEntry{M::kConfiguration, C::kPatternEdit, "&Pattern File Edit...", ""},
    MenuEntry{M::kConfiguration, C::kFrameHighlightSetup, "&Special Frame Setup", ""},
    MenuEntry{M::kMode, C::kModeNone, "None", ""},
    MenuEntry{M::kMode, C::kModeMaster, "Master Simulation", ""},
    MenuEntry{M::kMode, C::kModeSlave, "Slave Simulation", ""},
    MenuEntry{M::kMode, C::kModeBaudrate, "Baudrate measurement", ""},
    MenuEntry{M::kConfiguration, C::kMasterSetup, "Master Simulation Setup...", "", true},
    MenuEntry{M::kConfiguration, C::kSlaveSetup, "Slave Simulation Setup...", ""},
    MenuEntry{M::kView, C::kMonitorWindow, "&Monitor Window...", ""},
    MenuEntry{M::kView, C::kMasterMonitorWindow, "M&aster Simulation Monitor Window...", ""},
    MenuEntry{M::kView, C::kSlaveMonitorWindow, "S&lave Simulation Monitor Window...", ""},
    MenuEntry{M::kView, C::kStatusWindow, "&Status Window...", ""},
    MenuEntry{M::kView, C::kSignalSelectWindow, "Signal S&elect Window...", ""},
    MenuEntry{M::kView, C::kSignalMonitorWindow, "Signal M&onitor Window...", ""},
    MenuEntry{M::kView, C::kDescriptionReport, "&Description Report...", ""},
    MenuEntry{M::kView, C::kSignalPlotWindow, "Signal &Plot Window...", ""},
    MenuEntry{M::kView, C::kCaptureWindow, "&Capture Window...", ""},
    MenuEntry{M::kView, C::kFindWindow, "&Find Window...", ""},
    MenuEntry{M::kView, C::kEachIdWindow, "&Each ID Window...", ""},
    MenuEntry{M::kView, C::kBusStatisticsWindow, "&Bus Statistics Window...", ""},
    MenuEntry{M::kWindow, C::kFrontMonitor, "1. Monitor Window", ""},
    MenuEntry{M::kWindow, C::kFrontMasterMonitor, "2. Master Simulation Monitor Window", ""},
    MenuEntry{M::kWindow, C::kFrontSlaveMonitor, "3. Slave Simulation Monitor Window", ""},
    MenuEntry{M::kWindow, C::kFrontStatus, "4. Status Window", ""},
    MenuEntry{M::kWindow, C::kFrontSignalSelect, "5. Signal Select Window", ""},
    MenuEntry{M::kWindow, C::kFrontSignalMonitor, "6. Signal Monitor Window", ""},
    MenuEntry{M::kWindow, C::kFrontCapture, "7. Capture Window", ""},
    MenuEntry{M::kWindow, C::kFrontEachId, "8. Each ID Window", ""},
    MenuEntry{M::kWindow, C::kStandardLayout, "S&tandard Layout", "", true},
    MenuEntry{M::kHelp, C::kManual, "&Manual", ""},
    MenuEntry{M::kHelp, C::kAbout, "&About Q427-VXL View...", ""},
};

constexpr std::array kEachMode = {
    MenuEntry{M::kView, C::kToggleEachMode, "Each Mode Off", ""},
    MenuEntry{M::kView, C::kEachModeOrderOfId, "Each Mode: Order of ID", ""},
    MenuEntry{M::kView, C::kEachModeOrderOfNode, "Each Mode: Order of Node", ""},
};

constexpr std::array kButtons = {
    DialogBarButton{"Start", C::kStartButton},
    DialogBarButton{"Stop", C::kStopButton},
    DialogBarButton{"Capture", C::kCapture},
    DialogBarButton{"Save Capture", C::kSaveCaptureLog},
    DialogBarButton{"Save Monitor", C::kSaveMonitorLog},
    DialogBarButton{"Master Simulation", C::kMasterSetup},
    DialogBarButton{"Slave Simulation", C::kSlaveSetup},
    DialogBarButton{"Option Setup", C::kOptionSetup},
};

}  // namespace

std::span<const MenuTitle> MenuTitles() {
  return kTitles;
}
std::span<const MenuEntry> MenuEntries() {
  return kEntries;
}
std::span<const DialogBarButton> DialogBarButtons() {
  return kButtons;
}
std::span<const MenuEntry> EachModeEntries() {
  return kEachMode;
}

}  // namespace orvane::ui
