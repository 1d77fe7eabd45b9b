#include "emulator/TableEntry.h"

#include <cstring>

namespace orvane::emulator {

TableEntry ReadTableEntry(const UnitMemory& memory, std::uint16_t address) {
  TableEntry entry;
  std::memcpy(&entry, memory.Ram(address, kTableEntrySize).data(), kTableEntrySize);
  return entry;
}

TableEntry ReadBankEntry(const UnitMemory& memory, int bank, std::size_t index) {
  return ReadTableEntry(
      memory, static_cast<std::uint16_t>(kBankTableAddress[bank] + index * kTableEntrySize));
}

}  // namespace orvane::emulator
