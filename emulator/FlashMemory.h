// The unit's flash: 0xC0000-0xEFFFF in three sectors of 64 KiB each
// (serial number 0xC0000, version area 0xD0000, firmware image 0xE0000).
//
// Erasing sets a whole sector to 0xFF. Programming only clears bits, as
// real flash does: a byte written over a non-erased byte becomes the AND of
// both. Not thread-safe; the owner serialises access.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvane::emulator {

class FlashMemory {
 public:
  static constexpr std::uint32_t kBase = 0xC0000;
  static constexpr std::uint32_t kEnd = 0xF0000;  // one past the last byte
  static constexpr std::uint32_t kSectorSize = 0x10000;

  FlashMemory();

  static bool Contains(std::uint32_t address, std::size_t length = 1);

  // False when the address lies outside the flash; nothing changes then.
  bool EraseSector(std::uint32_t address_in_sector);
  // False when any byte would fall outside the flash; nothing is written then.
  bool Program(std::uint32_t address, std::span<const std::uint8_t> bytes);
  // Bytes outside the flash read as 0xFF.
  std::uint8_t Read(std::uint32_t address) const;

 private:
  std::vector<std::uint8_t> cells_;
};

}  // namespace orvane::emulator
