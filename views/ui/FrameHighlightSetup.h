// The special frame setup's command for the main frame: "&Special Frame
// Setup" (app::MainCommand::kFrameHighlightSetup) runs CFrameHighlightDlg
// modally on the settings' special frames, with the I/O event names of the
// option settings and the identifier definition; after OK the monitor views
// learn of the new settings (app::FrameHighlightSetupAccepted).
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterFrameHighlightSetup(WindowRegistry& registry);

}  // namespace orvane::ui
