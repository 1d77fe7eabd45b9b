#include "link/driver/Backends.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "link/driver/TracingDriver.h"
#include "link/driver/virtual/VirtualDriver.h"

namespace orlink::driver {
namespace {

constexpr std::string_view kAuto = "auto";

// Real USB backends come first so that "auto" prefers attached hardware.
constexpr std::array kBackends{
    Backend{"virtual", CreateVirtualDriver},
};

std::string_view Environment(const char* name, std::string_view fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::string_view(value) : fallback;
}

std::string BackendNames() {
  std::string names(kAuto);
  for (const Backend& backend : kBackends) (names += ", ") += backend.name;
  return names;
}

}  // namespace

std::span<const Backend> Backends() { return kBackends; }

std::unique_ptr<Driver> CreateDriver(std::string_view device) {
  for (const Backend& backend : kBackends) {
    if (device == backend.name) return backend.create();
    if (device == kAuto) {
      std::unique_ptr<Driver> driver = backend.create();
      if (driver->InterfacePath(0)) return driver;
    }
  }
  return nullptr;
}

std::unique_ptr<Driver> CreateDriverFromEnvironment() {
  const std::string device(Environment("ORLINK_DEVICE", kAuto));
  std::unique_ptr<Driver> driver = CreateDriver(device);
  if (driver == nullptr && device != kAuto) {
    std::fprintf(stderr, "orlink: ORLINK_DEVICE=%s names no device backend of this build (%s)\n",
                 device.c_str(), BackendNames().c_str());
  }
  const std::string_view trace_file = Environment("ORLINK_TRACE", "");
  if (driver == nullptr || trace_file.empty()) return driver;
  return TraceTo(std::move(driver), std::string(trace_file));
}

}  // namespace orlink::driver
