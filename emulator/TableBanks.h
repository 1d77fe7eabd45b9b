// The firmware side of the table bank handshake. The unit runs from one
// active bank (0x0440 or 0x0610). When the host sets a bank's state byte to
// 2 (start a schedule) or 1 (replace the running table), the unit takes the
// bank: its state becomes 3, it becomes the active bank, the bank active
// before is freed (state 0), and 0x0416 names the free bank for the host's
// next download.
//
// Not thread-safe; owned by the firmware.
#pragma once

#include <optional>

#include "emulator/UnitMemory.h"

namespace orvane::emulator {

inline constexpr std::uint8_t kBankFree = 0;
inline constexpr std::uint8_t kBankReplaceTable = 1;
inline constexpr std::uint8_t kBankStartSchedule = 2;
inline constexpr std::uint8_t kBankTaken = 3;

class TableBanks {
 public:
  // Takes every bank whose state byte asks for it, bank 0 first. The
  // request (kBankReplaceTable or kBankStartSchedule) of the bank taken
  // last, or nothing when no bank asked.
  std::optional<std::uint8_t> TakeRequested(UnitMemory& memory);

  // The bank the unit runs from (0 or 1), if any.
  std::optional<int> active() const { return active_; }

  void Reset() { active_.reset(); }

 private:
  std::optional<int> active_;
};

}  // namespace orvane::emulator
