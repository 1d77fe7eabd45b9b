#include "simulation/ui/MasterSetup.h"

#include "app/ModeCommands.h"
#include "simulation/ui/CMSimSetDlg.h"

namespace orvane::ui {

void RegisterMasterSetup(WindowRegistry& registry) {
  registry.RegisterCommand(app::MainCommand::kMasterSetup, [](const ShellServices& services) {
    app::RunMasterSimulationSetup(services.context, [&services] {
      CMSimSetDlg dialog(services, services.mainWindow);
      return dialog.exec() == QDialog::Accepted;
    });
  });
}

}  // namespace orvane::ui
