// The key codes of the simulations' key triggers ("0"-"9" and "A"-"Z" as
// their characters, "F1"-"F12" as 0x70-0x7B, "SPACE" as 0x20) for Qt keys.
#pragma once

#include <cstdint>
#include <optional>

namespace orvane::ui {

// Nothing for a key that no trigger can name.
std::optional<std::int32_t> VirtualKeyOf(int qtKey);

}  // namespace orvane::ui
