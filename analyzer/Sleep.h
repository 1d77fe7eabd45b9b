// How analyzer operations wait between attempts and polls.
//
// Every wait of the register map and the firmware download goes through a
// SleepFunction, so that tests on a virtual clock never sleep for real.
#pragma once

#include <chrono>
#include <functional>

namespace orvane::analyzer {

using SleepFunction = std::function<void(std::chrono::milliseconds)>;

// Sleeps the calling thread for real.
SleepFunction RealSleep();

}  // namespace orvane::analyzer
