// How slots are named on screen: the keys that trigger pattern slots and the
// interrupt slot, the trigger cell ("%d[ms]" or a key name), and the names
// of the commands and errors. Pure functions; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/SimRecords.h"

namespace orvane::simulation {

// F10 is swallowed by the run control while a simulation runs, so that it
// does not open the menu.
inline constexpr std::int32_t kKeyF10 = 0x79;

// "0"-"9" and "A"-"Z" (their character codes), "F1"-"F12" (0x70-0x7B) and
// "SPACE" (0x20); an empty text for any other code.
std::string KeyName(std::int32_t code);
// The code of a key name as KeyName gives it (case matters); nothing for any
// other text.
std::optional<std::int32_t> KeyCode(std::string_view name);

// The "Timer/Key" cell of a slot: "%d[ms]" of the interval for a timer, the
// key name for a key, empty without a trigger.
std::string TriggerText(const SimSlot& slot);

// Indexed by SlotCommand 0-5.
inline constexpr std::array<std::string_view, 6> kCommandNames = {"Tx",     "Rx", "Sleep",
                                                                  "Wakeup", "Rx", "Tx"};
// Indexed by the slot's error 0-6.
inline constexpr std::array<std::string_view, 7> kErrorNames = {
    "(None)", "Parity", "CheckSum", "ShortMsg", "SyncBreak-L", "SyncField", "SyncBreak-S"};

}  // namespace orvane::simulation
