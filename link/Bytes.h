// Byte-order helpers for the fixed-width fields of packets and requests.
#pragma once

#include <cstdint>
#include <span>

namespace orlink {

// Writes the low out.size() bytes of value, most significant first.
inline void PutBigEndian(std::span<std::uint8_t> out, std::uint32_t value) {
  for (auto byte = out.rbegin(); byte != out.rend(); ++byte, value >>= 8) {
    *byte = static_cast<std::uint8_t>(value);
  }
}

// Writes the low out.size() bytes of value, least significant first.
inline void PutLittleEndian(std::span<std::uint8_t> out, std::uint32_t value) {
  for (auto& byte : out) {
    byte = static_cast<std::uint8_t>(value);
    value >>= 8;
  }
}

inline std::uint32_t GetLittleEndian(std::span<const std::uint8_t> in) {
  std::uint32_t value = 0;
  for (auto byte = in.rbegin(); byte != in.rend(); ++byte) value = (value << 8) | *byte;
  return value;
}

}  // namespace orlink
