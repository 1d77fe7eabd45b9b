// The unit's memory as seen through the command protocol: RAM with the
// registers and tables below 0x10000, and the flash window 0xC0000-0xEFFFF.
// Addresses elsewhere read as 0xFF and cannot be written.
//
// Not thread-safe; the owner serialises access.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "emulator/AnalyzerProfile.h"
#include "emulator/FlashMemory.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator {

class UnitMemory {
 public:
  // Flash holds the profile's serial number and firmware; RAM its power-on
  // defaults.
  explicit UnitMemory(const AnalyzerProfile& profile);

  // Power-on RAM: 9600 bit/s timing, LIN 1.x lengths with classic
  // checksums, 250 us wake-up pulse, everything else 0. Flash is kept.
  void ResetRam();

  // False (and nothing written) when the bytes would pass the end of RAM.
  bool WriteRam(std::uint32_t address, std::span<const std::uint8_t> bytes);
  std::span<const std::uint8_t> Ram(std::uint16_t address, std::size_t length) const;
  std::uint8_t RamByte(std::uint16_t address) const { return ram_[address]; }
  std::uint16_t RamWord(std::uint16_t address) const;
  void SetRamByte(std::uint16_t address, std::uint8_t value) { ram_[address] = value; }
  void SetRamWord(std::uint16_t address, std::uint16_t value);

  // Any 24-bit address: RAM, flash or unmapped (0xFF).
  void Read(std::uint32_t address, std::span<std::uint8_t> out) const;

  FlashMemory& flash() { return flash_; }

 private:
  std::array<std::uint8_t, kRamSize> ram_{};
  FlashMemory flash_;
};

}  // namespace orvane::emulator
