#include "emulator/FlashMemory.h"

#include <algorithm>

namespace orvane::emulator {

FlashMemory::FlashMemory() : cells_(kEnd - kBase, 0xFF) {}

bool FlashMemory::Contains(std::uint32_t address, std::size_t length) {
  return address >= kBase && address < kEnd && length <= kEnd - address;
}

bool FlashMemory::EraseSector(std::uint32_t address_in_sector) {
  if (!Contains(address_in_sector)) return false;
  const std::uint32_t sector_start = address_in_sector - (address_in_sector - kBase) % kSectorSize;
  std::fill_n(cells_.begin() + (sector_start - kBase), kSectorSize, std::uint8_t{0xFF});
  return true;
}

bool FlashMemory::Program(std::uint32_t address, std::span<const std::uint8_t> bytes) {
  if (!Contains(address, bytes.size())) return false;
  auto cell = cells_.begin() + (address - kBase);
  for (std::uint8_t byte : bytes) *cell++ &= byte;
  return true;
}

std::uint8_t FlashMemory::Read(std::uint32_t address) const {
  return Contains(address) ? cells_[address - kBase] : std::uint8_t{0xFF};
}

}  // namespace orvane::emulator
