#include "simulation/FrameInitialData.h"

#include <algorithm>

namespace orvane::simulation {

namespace {
constexpr std::uint32_t kDataBits = kSlotDataSize * 8;
constexpr std::uint32_t kValueBits = 64;
}  // namespace

void InsertRawValue(std::span<std::uint8_t, kSlotDataSize> data, std::uint32_t bitOffset,
                    std::uint32_t size, std::uint64_t value) {
  const std::uint32_t bits = std::min(size, kValueBits);
  for (std::uint32_t k = 0; k < bits; ++k) {
    const std::uint64_t bit = std::uint64_t{bitOffset} + k;
    if (bit >= kDataBits) break;
    const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    std::uint8_t& byte = data[bit / 8];
    byte = ((value >> k) & 1) != 0 ? static_cast<std::uint8_t>(byte | mask)
                                   : static_cast<std::uint8_t>(byte & ~mask);
  }
}

std::array<std::uint8_t, kSlotDataSize> FrameInitialData(std::span<const signals::Signal> signals,
                                                         const signals::Frame& frame) {
  std::array<std::uint8_t, kSlotDataSize> data{};
  for (const signals::FrameEntry& entry : frame.entries) {
    if (entry.signal >= signals.size()) continue;
    const signals::Signal& signal = signals[entry.signal];
    InsertRawValue(data, entry.bitOffset, signal.size, signal.initialValue);
  }
  const std::size_t length = std::min<std::size_t>(frame.length, kSlotDataSize);
  std::fill(data.begin() + static_cast<std::ptrdiff_t>(length), data.end(), std::uint8_t{0});
  return data;
}

}  // namespace orvane::simulation
