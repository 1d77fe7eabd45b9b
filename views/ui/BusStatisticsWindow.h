// Registers the Bus Statistics window family (an MDI child frame around
// CBusStatView) and its View menu command with the shell.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterBusStatisticsWindow(WindowRegistry& registry);

}  // namespace orvane::ui
