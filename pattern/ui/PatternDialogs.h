// The pattern dialogs' command for the main frame: "Pattern File Edit..."
// (app::MainCommand::kPatternEdit) runs CPatternDlg modally.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterPatternDialogs(WindowRegistry& registry);

}  // namespace orvane::ui
