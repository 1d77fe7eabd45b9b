// Addresses of the analyzer unit's memory map as its firmware sees them.
//
// RAM (0x0000-0xFFFF) holds the registers and tables the host writes with
// MemoryWrite; the flash areas at 0xC0000 and above are read with
// MemoryReadEx and changed with FrashErase and FrashWrite. Multi-byte
// register values are little-endian.
//
// The unit's master and slave simulations read the schedule switch, the
// run-once flag, the interrupt switch, the table banks and the extended
// frame data live from this memory; break select 0x0412 is kept as plain
// memory.
#pragma once

#include <cstdint>

namespace orvane::emulator {

inline constexpr std::uint32_t kRamSize = 0x10000;

inline constexpr std::uint16_t kModeRegister = 0x0401;
inline constexpr std::uint16_t kFrameTimingRegister = 0x0402;  // 14 bytes, 10 of them timing
inline constexpr std::uint16_t kFrameTimingSize = 10;
inline constexpr std::uint16_t kScheduleSwitchRegister = 0x040F;   // 1: the master schedule runs
inline constexpr std::uint16_t kRunOnceRegister = 0x0410;          // 1: the schedule runs one cycle
inline constexpr std::uint16_t kInterruptSwitchRegister = 0x0411;  // 1: one-shot frames are sent
inline constexpr std::uint16_t kWakeupLengthRegister = 0x0413;  // 2 bytes, microseconds
inline constexpr std::uint16_t kLinRevisionRegister = 0x0415;
inline constexpr std::uint16_t kBankSelectRegister = 0x0416;
inline constexpr std::uint16_t kMeasuredBaudRegister = 0x0417;  // 2 bytes, bit/s
inline constexpr std::uint16_t kIoEnableRegister = 0x0419;      // channels 1-3 at 0x0419-0x041B

inline constexpr std::uint16_t kBankTableAddress[2] = {0x0440, 0x0610};
inline constexpr std::uint16_t kBankStateAddress[2] = {0x0600, 0x07D0};

inline constexpr std::uint16_t kOneShotEntryAddress = 0x07E0;
inline constexpr std::uint16_t kOneShotHandshakeAddress = 0x07EE;

inline constexpr std::uint16_t kLengthTableAddress = 0x11B0;  // 64 bytes
inline constexpr std::uint8_t kLengthEnhancedBit = 0x80;
inline constexpr std::uint8_t kLengthMask = 0x7F;

inline constexpr std::uint16_t kExtendedDataAddress = 0x1A00;  // file i at + 0x100 x i
inline constexpr std::uint16_t kExtendedDataSize = 0x100;
inline constexpr std::uint8_t kExtendedFileCount = 4;

inline constexpr std::uint32_t kSerialNumberAddress = 0xC0000;
inline constexpr std::uint32_t kVersionAreaAddress = 0xD0000;
inline constexpr std::uint32_t kImageAreaAddress = 0xE0000;
inline constexpr std::uint32_t kImageVersionOffset = 0x60;  // in the image header

// Analyzer modes of register 0x0401.
enum class UnitMode : std::uint8_t {
  kMonitor = 0,
  kSlaveSimulation = 1,
  kMasterSimulation = 2,
  kBaudMeasurement = 3,
};

}  // namespace orvane::emulator
