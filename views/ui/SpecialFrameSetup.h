// The special frame setup's command for the main frame: "&Special Frame
// Setup" (app::MainCommand::kFrameHighlightSetup) runs CSpecialFrameDlg
// modally on the settings' special frames, with the I/O event names of the
// option settings and the identifier definition; after OK the monitor views
// learn of the new settings (app::SpecialFrameSetupAccepted).
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterSpecialFrameSetup(WindowRegistry& registry);

}  // namespace orvane::ui
