#include "views/ui/MonitorWindows.h"

#include <memory>

#include "views/ui/CChildFrame.h"
#include "views/ui/CMonitSView.h"

namespace orvane::ui {

void RegisterMonitorWindows(WindowRegistry& registry) {
  // Owned by the registration: lives as long as the registry keeps the family.
  auto markers = std::make_shared<StoredMarkers>();
  registry.Register(WindowFamily{
      app::Window::kMonitor,
      [markers](const ShellServices& services) -> QWidget* {
        auto* view = new CMonitSView(services, MonitorWindowKind::kMonitor, markers->monitor);
        return new CChildFrame(MonitorWindowKind::kMonitor, view);
      },
      // A start forgets the relative time markers, also of closed windows.
      [markers] { *markers = StoredMarkers{}; }});
}

}  // namespace orvane::ui
