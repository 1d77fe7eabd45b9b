// C++ seams of the link library for tests and in-process tools.
//
// They are part of orlink_core only: liborlink.so exports none of them.
// Call them while no other thread uses the link library; they are not
// synchronised with running commands or MonitorRead.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "link/driver/Driver.h"

namespace orlink {

using Sleeper = std::function<void(std::chrono::milliseconds)>;

// Replaces the waits of InitUSB, FrashWrite, FrashErase and MonitorRead. An
// empty function restores std::this_thread::sleep_for.
void SetSleeper(Sleeper sleeper);

// Installs the driver that all Uusbd_* functions and commands use from now
// on, instead of the one that ORLINK_DEVICE chooses at first use. What the
// link has open on the previous driver is closed first (as by CloseUSB and
// Uusbd_Close of every device in use). nullptr leaves the link without any
// device.
void SetDriver(std::unique_ptr<driver::Driver> driver);

}  // namespace orlink
