#include "views/ui/StatusWindow.h"

#include "views/ui/CStatusFrame.h"

namespace orvane::ui {

void RegisterStatusWindow(WindowRegistry& registry) {
  registry.Register(WindowFamily{
      app::Window::kStatus,
      [](const ShellServices& services) -> QWidget* { return new CStatusFrame(services); }});
}

}  // namespace orvane::ui
