#include "app/ui/ProgramWindows.h"

#include "pattern/ui/PatternDialogs.h"
#include "signals/ui/SignalWindows.h"
#include "simulation/ui/CMastMonitFrame.h"
#include "simulation/ui/MasterSetup.h"
#include "simulation/ui/SlaveWindows.h"
#include "views/ui/BusStatisticsWindow.h"
#include "views/ui/MonitorWindows.h"
#include "views/ui/FrameHighlightSetup.h"
#include "views/ui/StatusWindow.h"

namespace orvane::ui {

void RegisterProgramWindows(WindowRegistry& registry) {
  RegisterMonitorWindows(registry);
  RegisterStatusWindow(registry);
  RegisterBusStatisticsWindow(registry);
  RegisterFrameHighlightSetup(registry);
  RegisterShellDialogs(registry);
  RegisterPatternDialogs(registry);
  RegisterMasterMonitorWindow(registry);
  RegisterMasterSetup(registry);
  RegisterSlaveWindows(registry);
  RegisterSignalWindows(registry);
}

}  // namespace orvane::ui
