// The main frame's command "Master Simulation Setup..."
// (app::MainCommand::kMasterSetup): CMSimSetDlg run through
// app::RunMasterSimulationSetup, which restores the model on Cancel and
// offers Master Simulation mode on OK.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterMasterSetup(WindowRegistry& registry);

}  // namespace orvane::ui
