// The "Virtual Analyzer" menu: when the device is the virtual analyzer, its
// fault injections (unplugging it, the bus at another baud rate, a garbled
// or lost reply), so that a user can try the failure paths without
// hardware.
#pragma once

#include "analyzer/LinkApi.h"

class QMainWindow;

namespace orvane::ui {

// Adds the menu before "Help" when `control` reports a virtual analyzer;
// otherwise nothing. Returns whether it was added.
bool AddVirtualAnalyzerMenu(QMainWindow& frame, const analyzer::VirtualAnalyzerControl& control);

}  // namespace orvane::ui
