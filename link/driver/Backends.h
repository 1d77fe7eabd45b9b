// The driver backends and how the link library chooses one.
//
// ORLINK_DEVICE names the backend: "virtual", "usb", or "auto" (the
// default), which takes the first backend of the table that finds a device,
// real USB analyzers before the virtual one, and says once per process on
// stderr which it took. ORLINK_TRACE=<file> wraps the
// chosen backend in a TracingDriver that appends to that file.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "link/driver/Driver.h"

namespace orlink::driver {

struct Backend {
  std::string_view name;
  std::unique_ptr<Driver> (*create)();
};

// Every backend of this build, in the order "auto" tries them.
std::span<const Backend> Backends();

// The backend that `device` names ("auto" as above); nullptr when it names
// none of this build, or "auto" finds no device with any backend.
std::unique_ptr<Driver> CreateDriver(std::string_view device);

// CreateDriver(ORLINK_DEVICE), traced when ORLINK_TRACE is set. A value that
// names no backend is reported once on stderr.
std::unique_ptr<Driver> CreateDriverFromEnvironment();

}  // namespace orlink::driver
