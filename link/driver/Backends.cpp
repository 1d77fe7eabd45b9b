#include "link/driver/Backends.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "link/driver/TracingDriver.h"
#include "link/driver/usb/UsbDriver.h"
#include "link/driver/virtual/VirtualDriver.h"

namespace orlink::driver {
namespace {

constexpr std::string_view kAuto = "auto";

// Real USB backends come first so that "auto" prefers attached hardware.
constexpr std::array kBackends{
    Backend{"usb", CreateUsbDriver},
    Backend{"virtual", CreateVirtualDriver},
};

// Says once per process which device "auto" chose.
void ReportAutoChoice(const std::string& text) {
  static std::once_flag reported;
  std::call_once(reported, [&text] { std::fprintf(stderr, "orlink: %s\n", text.c_str()); });
}

std::string AutoChoiceText(const Driver& driver, const std::string& path) {
  if (driver.Name() == "virtual") return "no USB analyzer attached, using the virtual analyzer";
  return "using the USB analyzer at " + path;
}

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
      const std::optional<std::string> path = driver ? driver->InterfacePath(0) : std::nullopt;
      if (path) {
        ReportAutoChoice(AutoChoiceText(*driver, *path));
        return driver;
      }
    }
  }
  return nullptr;
}

std::unique_ptr<Driver> CreateDriverFromEnvironment() {
  const std::string device(Environment("ORLINK_DEVICE", kAuto));
  std::unique_ptr<Driver> driver = CreateDriver(device);
  const bool named = std::ranges::any_of(
      kBackends, [&device](const Backend& backend) { return backend.name == device; });
  if (driver == nullptr && named) {
    std::fprintf(stderr, "orlink: ORLINK_DEVICE=%s: that backend cannot be used here\n",
                 device.c_str());
  } else if (driver == nullptr && device != kAuto) {
    std::fprintf(stderr, "orlink: ORLINK_DEVICE=%s names no device backend of this build (%s)\n",
                 device.c_str(), BackendNames().c_str());
  }
  const std::string_view trace_file = Environment("ORLINK_TRACE", "");
  if (driver == nullptr || trace_file.empty()) return driver;
  return TraceTo(std::move(driver), std::string(trace_file));
}

}  // namespace orlink::driver
