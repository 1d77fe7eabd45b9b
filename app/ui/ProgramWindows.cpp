#include "app/ui/ProgramWindows.h"

#include "pattern/ui/PatternDialogs.h"
#include "views/ui/MonitorWindows.h"
#include "views/ui/StatusWindow.h"

namespace orvane::ui {

void RegisterProgramWindows(WindowRegistry& registry) {
  RegisterMonitorWindows(registry);
  RegisterStatusWindow(registry);
  RegisterShellDialogs(registry);
  RegisterPatternDialogs(registry);
}

}  // namespace orvane::ui
