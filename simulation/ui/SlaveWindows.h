// The slave simulation's windows for the main frame: the slave simulation
// monitor window family (app::Window::kSlaveMonitor, CSlavMonitFrame) and
// the command "Slave Simulation Setup..." (app::MainCommand::kSlaveSetup),
// which runs CSSimSetDlg through app::RunSlaveSimulationSetup.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterSlaveWindows(WindowRegistry& registry);

}  // namespace orvane::ui
