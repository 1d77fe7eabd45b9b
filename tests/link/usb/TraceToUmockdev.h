// Turns an ORLINK_TRACE of a virtual-analyzer session into what umockdev
// needs to play the same unit on USB: the sysfs device (with the traced
// device and configuration descriptors) and the usbdevfs ioctl script of
// its bulk transfers.
//
// Each traced pipe transfer becomes one reaped URB on the endpoint of that
// pipe (the n-th endpoint of interface 0 in the traced configuration
// descriptor): writes with their bytes, reads with the bytes delivered and
// the buffer size the command layer reads with (256 for an acknowledge,
// 512 for a read reply and a monitor block); a failed read ends in -ENODEV,
// the kernel's status for a device that went away. Control codes answered
// from descriptors or presence need no transfer and are left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

inline constexpr const char* kUsbDeviceNode = "/dev/bus/usb/001/002";

struct TraceLine {
  std::string direction;  // "out", "in" or "ctl"
  std::string where;      // "if000pipe002" or "0x220014"
  bool ok = false;
  std::vector<std::uint8_t> bytes;   // written, read, or a control's input
  std::vector<std::uint8_t> output;  // a control's output
};

// One line of the trace; nothing when it is not a trace line.
std::optional<TraceLine> ParseTraceLine(const std::string& text);

struct UmockdevRecording {
  std::string device;  // umockdev_testbed_add_from_string text
  std::string ioctl;   // umockdev_testbed_load_ioctl script
};

// Nothing when the trace holds no device and configuration descriptor.
std::optional<UmockdevRecording> ConvertTrace(const std::vector<TraceLine>& trace);

}  // namespace orvane::testing
