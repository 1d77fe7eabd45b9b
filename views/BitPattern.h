// The per-bit pattern characters of the special frame and find conditions:
// eight characters per data byte, character k for bit k.
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <span>

namespace orvane::views {

// Pattern characters of one data byte.
using BytePattern = std::span<const char, 8>;

enum class BitCondition { kAny, kZero, kOne, kRising, kFalling, kChanged };

// "0", "1", "U", "D", "C" (edges also in small letters); every other
// character, "*" included, matches any bit.
BitCondition BitConditionOf(char pattern);

inline bool BitOf(std::uint8_t value, int bit) {
  return ((value >> bit) & 1) != 0;
}

// True when every "0" and "1" of the pattern agrees with `data`.
bool FixedBitsAgree(BytePattern pattern, std::uint8_t data);

}  // namespace orvane::views
