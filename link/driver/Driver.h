// The generic USB driver as the device-access layer sees it.
//
// A backend implements exactly what the Uusbd_* functions need of a
// generic kernel-mode USB driver: enumerate the device interface paths of
// the analyzer's class by member index, open a device path or a pipe name
// ("<path>\if000pipe002"), pass an I/O control code with its input and
// output buffers, and read, write and close a handle. Tracing, argument
// checks and the device table live above this interface, once.
//
// Every operation is mandatory and synchronous. A read blocks until the
// device delivers a block or the backend gives up; the time it may block is
// the backend's own. Operations may be called from several threads at once
// on different handles (the monitor pipe is read while commands run).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvane::emulator {
class VirtualAnalyzer;
}

namespace orlink::driver {

using Handle = std::intptr_t;
inline constexpr Handle kInvalidHandle = -1;

// Device I/O control codes of the generic driver.
enum IoControlCode : std::uint32_t {
  kResetDevice = 0x220004,
  kResetPipe = 0x220008,
  kControlDeviceToHost = 0x22000C,
  kControlHostToDevice = 0x220010,
  kGetDescriptor = 0x220014,
  kCheckDevice = 0x220018,
  kGetEndpointStatus = 0x220020,
};

// Size of the header that precedes a control request's data (function,
// direction flags, request, value, index, length).
inline constexpr std::size_t kRequestHeaderSize = 16;

// Request function codes of the control header by recipient (device,
// interface, endpoint, other).
inline constexpr std::array<std::uint16_t, 4> kClassFunctions{0x1A, 0x1B, 0x1C, 0x1F};
inline constexpr std::array<std::uint16_t, 4> kVendorFunctions{0x17, 0x18, 0x19, 0x20};

class Driver {
 public:
  virtual ~Driver() = default;

  // The backend's name as ORLINK_DEVICE spells it ("virtual", "usb").
  virtual std::string Name() const = 0;

  // Path of the device interface with this member index, or nothing when
  // there is no such member (enumeration ends there).
  virtual std::optional<std::string> InterfacePath(unsigned member) = 0;

  // Opens a device path or a pipe name; kInvalidHandle on failure.
  virtual Handle Open(const std::string& name) = 0;

  // Sends an I/O control code. On success `returned` is the number of
  // output bytes filled.
  virtual bool IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                         std::span<std::uint8_t> output, std::size_t& returned) = 0;

  // One synchronous transfer; on success `transferred` bytes were moved.
  virtual bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) = 0;
  virtual bool Write(Handle handle, std::span<const std::uint8_t> data,
                     std::size_t& transferred) = 0;

  virtual void Close(Handle handle) = 0;

  // The virtual analyzer behind the backend, for its fault injections;
  // null for real devices (the default).
  virtual orvane::emulator::VirtualAnalyzer* SimulatedAnalyzer() { return nullptr; }
};

}  // namespace orlink::driver
