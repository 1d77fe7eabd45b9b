// Every window family and dialog command of the program, registered with
// the shell in one place: the composition root of the desktop program.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterProgramWindows(WindowRegistry& registry);

// The shell's own dialog commands: About, Option Setup, Identifier
// Definition Setup.
void RegisterShellDialogs(WindowRegistry& registry);

}  // namespace orvane::ui
