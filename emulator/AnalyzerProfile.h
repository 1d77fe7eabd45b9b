// What a virtual analyzer is at power-on: its serial number, the firmware
// its flash holds, and the LIN bus it is attached to.
//
// Plain values; any thread may use them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::emulator {

inline constexpr std::string_view kCurrentFirmwareVersion = "Ver.3.11";
inline constexpr std::string_view kOlderFirmwareVersion = "Ver.3.02";

// Contents of the version area (0xD0000) and of the image's version text
// (0xE0060) at power-on.
enum class FirmwareState {
  kCurrent,  // both hold kCurrentFirmwareVersion
  kOlder,    // both hold kOlderFirmwareVersion
  kErased,   // both areas erased: the host offers a firmware update
};

// Traffic of the demo network.
enum class BusTraffic {
  kDefault,  // LIN 1.3 classic checksums, rare deliberate errors, sleep/wake-up now and then, I/O edges
  kClean,    // the same frames without any event: pure traffic
  kLin20,    // as kDefault with LIN 2.0 enhanced checksums
};

struct AnalyzerProfile {
  std::string serial_number = "VA000001";  // at most 32 characters
  FirmwareState firmware = FirmwareState::kCurrent;
  BusTraffic traffic = BusTraffic::kDefault;
  std::uint32_t bus_baud = 9600;
  std::uint32_t seed = 1;  // drives the timing of the deliberate events
  // The external master sends only its schedule's shortest frames, each as
  // soon as the bus is free: the most records a bus at this rate carries.
  bool back_to_back = false;
  // The unit's millisecond counter when the clock reads 0.
  std::uint32_t counter_start_ms = 0;
};

// Profiles by name, for the link's virtual backend and the program's menu:
// "default", "clean", "lin20", "old-firmware" (the version areas hold an
// older version: the host offers the firmware update), "erased-firmware"
// (both version areas erased). Nothing for any other name.
std::optional<AnalyzerProfile> ProfileNamed(std::string_view name);

// The names ProfileNamed knows, in the order above, separated by ", ".
std::string ProfileNames();

}  // namespace orvane::emulator
