// Process-wide state of the link library, shared by the Uusbd_* functions
// and the analyzer commands.
//
// The state is created at first use (at the latest when liborlink.so is
// loaded and called) and destroyed when the library is unloaded or the
// process ends; then every device table entry still in use is closed.
#pragma once

#include <chrono>

#include "link/DeviceTable.h"
#include "link/driver/Driver.h"

namespace orlink {

// The driver in use; at first call it is chosen by ORLINK_DEVICE (and
// wrapped for ORLINK_TRACE). nullptr when no backend is available, in which
// case every operation fails as if no device were attached. Any thread.
driver::Driver* ActiveDriver();

DeviceTable& Devices();

// Waits through the installed sleeper. Any thread.
void Sleep(std::chrono::milliseconds duration);

}  // namespace orlink
