#include "simulation/ui/SlaveWindows.h"

#include "app/ModeCommands.h"
#include "simulation/ui/CSSimSetDlg.h"
#include "simulation/ui/CSlavMonitFrame.h"

namespace orvane::ui {

void RegisterSlaveWindows(WindowRegistry& registry) {
  registry.Register(WindowFamily{
      app::Window::kSlaveMonitor,
      [](const ShellServices& services) -> QWidget* { return new CSlavMonitFrame(services); }});
  registry.RegisterCommand(app::MainCommand::kSlaveSetup, [](const ShellServices& services) {
    app::RunSlaveSimulationSetup(services.context, [&services] {
      CSSimSetDlg dialog(services, services.mainWindow);
      return dialog.exec() == QDialog::Accepted;
    });
  });
}

}  // namespace orvane::ui
