// Device access layer (ordinals 1-12): the Uusbd_* functions over the
// generic driver interface, with the device table and the driver's control
// codes and request headers.
#include <array>
#include <cstring>
#include <vector>

#include "link/ApiGuard.h"
#include "link/Bytes.h"
#include "link/Runtime.h"
#include "link/driver/PipeName.h"
#include "link/orlink.h"

namespace orlink {
namespace {

using driver::Handle;
using driver::kClassFunctions;
using driver::kInvalidHandle;
using driver::kRequestHeaderSize;
using driver::kVendorFunctions;

constexpr std::size_t kDeviceDescriptorSize = 18;
constexpr std::uint8_t kDeviceDescriptorType = 1;
constexpr std::uint8_t kConfigurationDescriptorType = 2;
constexpr std::uint16_t kEndpointRecipient = 2;

enum MatchBit : std::uint32_t {
  kMatchClass = 0x01,
  kMatchSubclass = 0x02,
  kMatchVendor = 0x04,
  kMatchProduct = 0x08,
  kMatchRelease = 0x10,
};

struct DescriptorMatch {
  std::uint32_t mask;
  std::uint8_t device_class;
  std::uint8_t device_subclass;
  std::uint16_t vendor_id;
  std::uint16_t product_id;
  std::uint16_t release;

  bool Accepts(std::span<const std::uint8_t, kDeviceDescriptorSize> descriptor) const {
    const auto field16 = [&](std::size_t offset) {
      return GetLittleEndian(descriptor.subspan(offset, 2));
    };
    return (!(mask & kMatchClass) || descriptor[4] == device_class) &&
           (!(mask & kMatchSubclass) || descriptor[5] == device_subclass) &&
           (!(mask & kMatchVendor) || field16(8) == vendor_id) &&
           (!(mask & kMatchProduct) || field16(10) == product_id) &&
           (!(mask & kMatchRelease) || field16(12) == release);
  }
};

// Descriptor request of control code 0x220014: type, index 0, language 0.
bool GetDescriptor(driver::Driver& driver, Handle handle, std::uint8_t type,
                   std::span<std::uint8_t> output, std::size_t& returned) {
  const std::array<std::uint8_t, 4> request{type, 0, 0, 0};
  return driver.IoControl(handle, driver::kGetDescriptor, request, output, returned);
}

std::int32_t OpenMatching(const DescriptorMatch& match) {
  driver::Driver* driver = ActiveDriver();
  if (driver == nullptr) return -1;
  for (unsigned member = 0;; ++member) {
    const std::optional<std::string> path = driver->InterfacePath(member);
    if (!path) return -1;
    const Handle handle = driver->Open(*path);
    if (handle == kInvalidHandle) continue;
    std::array<std::uint8_t, kDeviceDescriptorSize> descriptor{};
    std::size_t returned = 0;
    // A descriptor shorter than 18 bytes cannot be compared field by field.
    const bool matched =
        GetDescriptor(*driver, handle, kDeviceDescriptorType, descriptor, returned) &&
        returned == descriptor.size() && match.Accepts(descriptor);
    const int index = matched ? Devices().Register(*path, handle) : -1;
    if (index >= 0) return index;
    driver->Close(handle);
  }
}

constexpr std::uint32_t kDeviceToHostFlags = 2;

std::int32_t ControlRequest(const std::array<std::uint16_t, 4>& functions, std::int32_t device,
                            std::int32_t device_to_host, std::uint32_t recipient,
                            std::uint8_t request, std::uint16_t value, std::uint16_t index,
                            std::uint32_t length, void* buffer) {
  const Handle handle = Devices().HandleOf(device);
  const std::uint8_t recipient_code = static_cast<std::uint8_t>(recipient);
  const std::size_t data_length = length & 0xFFFF;
  if (handle == kInvalidHandle || recipient_code >= functions.size()) return 0;
  if (buffer == nullptr && data_length != 0) return 0;
  driver::Driver* driver = ActiveDriver();
  if (driver == nullptr) return 0;

  std::vector<std::uint8_t> input(kRequestHeaderSize);
  const std::span header(input);
  PutLittleEndian(header.subspan(0, 2), functions[recipient_code]);
  PutLittleEndian(header.subspan(4, 4), device_to_host ? kDeviceToHostFlags : 0);
  header[9] = request;
  PutLittleEndian(header.subspan(10, 2), value);
  PutLittleEndian(header.subspan(12, 2), index);

  const std::span data(static_cast<std::uint8_t*>(buffer), data_length);
  std::size_t returned = 0;
  if (device_to_host) {
    return driver->IoControl(handle, driver::kControlDeviceToHost, input, data, returned);
  }
  input.insert(input.end(), data.begin(), data.end());
  return driver->IoControl(handle, driver::kControlHostToDevice, input, {}, returned);
}

// An I/O control on a device of the table: 0 when the index names no entry
// in use or there is no driver, else the call's result.
std::int32_t DeviceIoControl(std::int32_t device, std::uint32_t code,
                             std::span<const std::uint8_t> input,
                             std::span<std::uint8_t> output) {
  const Handle handle = Devices().HandleOf(device);
  driver::Driver* driver = ActiveDriver();
  if (handle == kInvalidHandle || driver == nullptr) return 0;
  std::size_t returned = 0;
  return driver->IoControl(handle, code, input, output, returned);
}

// Descriptor read into the caller's buffer: 1 on success, 0 on failure.
std::int32_t ReadDescriptor(std::int32_t device, std::uint8_t type, void* buffer,
                            std::size_t length) {
  const Handle handle = Devices().HandleOf(device);
  driver::Driver* driver = ActiveDriver();
  if (handle == kInvalidHandle || driver == nullptr || (buffer == nullptr && length != 0)) {
    return 0;
  }
  std::size_t returned = 0;
  return GetDescriptor(*driver, handle, type, {static_cast<std::uint8_t*>(buffer), length},
                       returned);
}

}  // namespace
}  // namespace orlink

using namespace orlink;

extern "C" {

int32_t Uusbd_Open_mask(uint32_t mask, uint8_t device_class, uint8_t device_subclass,
                        uint16_t vendor_id, uint16_t product_id, uint8_t release) {
  return Guarded<int32_t>(-1, [&] {
    return OpenMatching(
        {mask & 0xFF, device_class, device_subclass, vendor_id, product_id, release});
  });
}

int32_t Uusbd_Open(void) { return Uusbd_Open_mask(0, 0, 0, 0, 0, 0); }

void Uusbd_Close(int32_t device) {
  GuardedVoid([&] {
    if (driver::Driver* driver = ActiveDriver()) Devices().Close(device, *driver);
  });
}

OrlinkHandle Uusbd_OpenPipe(int32_t device, uint32_t interface_number, uint32_t pipe_number) {
  return Guarded<OrlinkHandle>(ORLINK_INVALID_HANDLE, [&]() -> OrlinkHandle {
    const std::optional<std::string> path = Devices().PathOf(device);
    driver::Driver* driver = ActiveDriver();
    if (!path || driver == nullptr) return ORLINK_INVALID_HANDLE;
    return driver->Open(driver::FormatPipeName(*path, static_cast<std::uint8_t>(interface_number),
                                               static_cast<std::uint8_t>(pipe_number)));
  });
}

int32_t Uusbd_ClassRequest(int32_t device, int32_t device_to_host, uint32_t recipient,
                           uint8_t request, uint16_t value, uint16_t index, uint32_t length,
                           void* buffer) {
  return Guarded<int32_t>(0, [&] {
    return ControlRequest(kClassFunctions, device, device_to_host, recipient, request, value,
                          index, length, buffer);
  });
}

int32_t Uusbd_VendorRequest(int32_t device, int32_t device_to_host, uint32_t recipient,
                            uint8_t request, uint16_t value, uint16_t index, uint32_t length,
                            void* buffer) {
  return Guarded<int32_t>(0, [&] {
    return ControlRequest(kVendorFunctions, device, device_to_host, recipient, request, value,
                          index, length, buffer);
  });
}

int32_t Uusbd_Check(int32_t device) {
  constexpr int32_t kPresent = 0, kBadIndex = 1, kAbsent = 2;
  return Guarded<int32_t>(kAbsent, [&] {
    const Handle handle = Devices().HandleOf(device);
    if (handle == kInvalidHandle) return kBadIndex;
    driver::Driver* driver = ActiveDriver();
    std::array<std::uint8_t, 4> word{};
    std::size_t returned = 0;
    const bool answered = driver != nullptr &&
                          driver->IoControl(handle, driver::kCheckDevice, {}, word, returned) &&
                          returned == word.size();
    return answered && GetLittleEndian(word) != 0 ? kPresent : kAbsent;
  });
}

int32_t Uusbd_ResetPipe(OrlinkHandle pipe) {
  return Guarded<int32_t>(0, [&]() -> int32_t {
    driver::Driver* driver = ActiveDriver();
    if (pipe == ORLINK_INVALID_HANDLE || driver == nullptr) return 0;
    std::size_t returned = 0;
    return driver->IoControl(pipe, driver::kResetPipe, {}, {}, returned);
  });
}

int32_t Uusbd_ResetDevice(int32_t device) {
  return Guarded<int32_t>(0, [&] { return DeviceIoControl(device, driver::kResetDevice, {}, {}); });
}

int32_t Uusbd_GetDeviceDescriptor(int32_t device, void* buffer18) {
  return Guarded<int32_t>(0, [&] {
    return ReadDescriptor(device, kDeviceDescriptorType, buffer18, kDeviceDescriptorSize);
  });
}

int32_t Uusbd_GetConfigurationDescriptor(int32_t device, void* buffer, uint32_t length) {
  return Guarded<int32_t>(0, [&] {
    return ReadDescriptor(device, kConfigurationDescriptorType, buffer, length);
  });
}

int32_t Uusbd_GetStatusEndpoint(int32_t device, uint16_t endpoint, void* buffer2) {
  return Guarded<int32_t>(0, [&]() -> int32_t {
    if (buffer2 == nullptr) return 0;
    std::array<std::uint8_t, 4> request{};
    PutLittleEndian(std::span(request).subspan(0, 2), kEndpointRecipient);
    PutLittleEndian(std::span(request).subspan(2, 2), endpoint);
    return DeviceIoControl(device, driver::kGetEndpointStatus, request,
                           {static_cast<std::uint8_t*>(buffer2), 2});
  });
}

}  // extern "C"
