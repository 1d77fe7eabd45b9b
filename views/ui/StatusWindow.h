// Registers the Status window family (CStatusFrame with CStatusFView) with
// the shell.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterStatusWindow(WindowRegistry& registry);

}  // namespace orvane::ui
