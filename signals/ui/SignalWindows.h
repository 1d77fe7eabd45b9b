// Registers the Signal select (cls_psig_frm), Signal monitor (cls_psig_mon)
// and Signal plot (SignalPlotWindow) window families with the shell.
#pragma once

#include "app/ui/ShellView.h"

namespace orvane::ui {

void RegisterSignalWindows(WindowRegistry& registry);

}  // namespace orvane::ui
