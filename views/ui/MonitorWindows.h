// Registers the windows built on the monitor view with the shell: the
// Monitor (kind 0), Each ID (kind 1) and Capture (kind 2) windows, and the
// modeless Find window that searches the Monitor window's history.
#pragma once

#include "app/ui/ShellView.h"
#include "views/MonitorRows.h"

namespace orvane::ui {

// The relative time markers that outlive their windows: a Monitor or
// Capture view starts with its kind's marker and leaves its own in it when
// it closes; a start of monitoring clears them (update code 5).
struct StoredMarkers {
  views::RelativeTimeMarker monitor;
  views::RelativeTimeMarker capture;
};

void RegisterMonitorWindows(WindowRegistry& registry);

}  // namespace orvane::ui
