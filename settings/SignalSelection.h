// Which signals of the loaded LIN description the signal windows show: a
// 64-bit frame mask followed by one 64-bit signal mask per frame. Bits are
// numbered from the least significant bit of the first 32-bit word.
//
// Stored byte for byte in the settings record; the signal windows own the
// bit operations. Plain data of the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::settings {

inline constexpr std::size_t kSelectableFrameCount = 64;

#pragma pack(push, 1)
struct alignas(4) SignalSelection {
  std::uint32_t frameMask[2];
  std::uint32_t signalMasks[kSelectableFrameCount][2];
};
#pragma pack(pop)
static_assert(sizeof(SignalSelection) == 520);

}  // namespace orvane::settings
