// Decoding one signal of a monitored frame: its raw value from the data
// bytes and the "Encode" text of its encoding. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "signals/LinDescription.h"

namespace orvane::signals {

inline constexpr std::size_t kDataBytes = 8;
inline constexpr unsigned kMaxRawBits = 16;

// The signal's raw value, cut to 16 bits: bit k of the value (k below
// min(size, 16)) is data bit offset + k, where data bit b is bit b % 8 of
// byte b / 8 (least significant bit first, as LIN sends it); bits beyond the
// 64 data bits read as 0.
std::uint16_t ExtractRawValue(std::span<const std::uint8_t, kDataBytes> data,
                              std::uint32_t bitOffset, std::uint32_t size);

// The text of the first value entry of `encoding` that applies to `raw`:
// a logical value's text; a physical value as value * scale + offset in
// "%.7f" without trailing zeros and ".", followed by " (text)"; bcd as
// hexadecimal digits without leading zeros; ascii as the low ceil(n / 8)
// bytes of the value, low byte first, with "." for a non-printable byte
// (n = min(signal size, 16)). Empty when no entry applies.
std::string EncodeText(const Encoding& encoding, std::uint16_t raw, std::uint32_t signalSize);

// The first value entry of `encoding` that applies to `raw` (the one whose
// text EncodeText gives), or null.
const ValueEntry* ApplicableEntry(const Encoding& encoding, std::uint16_t raw);

// A physical entry's value of `raw`: raw * scale + offset.
inline double PhysicalValue(const ValueEntry& entry, std::uint16_t raw) {
  return raw * entry.scale + entry.offset;
}

// value in "%.7f" with trailing zeros, then a trailing ".", removed.
std::string FormatPhysicalValue(double value);

}  // namespace orvane::signals
