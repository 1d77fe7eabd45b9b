// Opening the connection to the analyzer at start-up: find it, read its
// identity, check its firmware version (offering a firmware update when it
// does not match), start the firmware and reset mode and table banks.
//
// Threads: the user-interface thread, once at start-up; blocks for every
// command exchange and for as long as the firmware update conversation runs.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/FirmwareUpdatePrompt.h"
#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"

namespace orvane::analyzer {

inline constexpr std::size_t kSerialNumberSize = 32;
inline constexpr std::size_t kVersionAreaSize = 16;
inline constexpr std::size_t kImageHeaderSize = 128;
inline constexpr std::size_t kImageVersionOffset = 0x60;

inline constexpr std::string_view kFirmwareUpdateDeclinedText =
    "It is canceled to download the firmware.    \nApplication cannot be started.    ";

// The firmware version check against the required version text V. With n the
// number of bytes before the first 0xFF of the installed version area, its
// first n - 1 bytes must equal the first n - 1 characters of V (n = 0 fails,
// n = 1 compares nothing); with m the number of bytes before the first 0xFF
// of image header bytes 0x60-0x6F, those m bytes must equal the first m
// characters of V (m = 0 counts as equal).
bool FirmwareVersionMatches(std::span<const std::uint8_t, kVersionAreaSize> installedVersion,
                            std::span<const std::uint8_t, kImageHeaderSize> imageHeader,
                            std::string_view requiredVersion);

// What opening needs of the main window.
struct OpenAnalyzerUi {
  FirmwareUpdatePrompt& firmwareUpdate;
  monitor::MessageSink& messages;
  // Sets the main window's ShutdownState to 2 (forced).
  std::function<void()> forceShutdown;
};

// The switches of the master simulation written at the end of opening.
struct SimulationSwitches {
  std::uint32_t scheduleModeOn = 0;
  std::uint32_t interruptModeOn = 0;
};

// The start-up sequence: InitUSB; the serial number from 0xC0000 into the
// identity; the version check (a failed read fails at once); when it fails,
// the firmware update conversation, and if the user cancels it the box
// kFirmwareUpdateDeclinedText (when the sink can show; then the shutdown is
// forced); TargetGo and MonitorStop; then, unless the update was cancelled,
// mode 0, bank 1 selected, bank 1's state 0 and the two switches. Each step
// runs only if all before it succeeded; returns whether the last one did.
bool OpenAnalyzer(const RegisterMap& map, AnalyzerIdentity& identity,
                  const SimulationSwitches& switches, OpenAnalyzerUi& ui);

}  // namespace orvane::analyzer
