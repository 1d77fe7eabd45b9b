// The device and configuration descriptors of a device as bytes, rebuilt
// from what libusb read at enumeration (no transfer on the bus, and the
// same bytes the device sent: libusb keeps every descriptor it does not
// know as "extra" bytes in place).
#pragma once

#include <libusb.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace orlink::driver {

std::optional<std::vector<std::uint8_t>> DeviceDescriptorBytes(libusb_device* device);

// Configuration `index` (0 for the first) with its interfaces and endpoints.
std::optional<std::vector<std::uint8_t>> ConfigurationDescriptorBytes(libusb_device* device,
                                                                      std::uint8_t index);

}  // namespace orlink::driver
