// LIN frame arithmetic: protected identifiers, classic and enhanced
// checksums, the LIN 1.x data length of an identifier, and bit timing.
//
// Pure functions; any thread may call them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvane::emulator {

inline constexpr std::uint8_t kGoToSleepId = 0x3C;
inline constexpr std::uint8_t kSlaveResponseId = 0x3D;
inline constexpr std::uint8_t kExtendedIdFirst = 0x3E;  // 0x3E and 0x3F carry extended frames

// Identifier 0-63 with its two parity bits P0 (bit 6) and P1 (bit 7).
std::uint8_t ProtectedId(std::uint8_t id);
bool HasValidParity(std::uint8_t protected_id);

// Inverted 8-bit sum with carry of the data bytes (classic) or of the
// protected identifier and the data bytes (enhanced).
std::uint8_t ClassicChecksum(std::span<const std::uint8_t> data);
std::uint8_t EnhancedChecksum(std::uint8_t protected_id, std::span<const std::uint8_t> data);

enum class ChecksumModel { kClassic, kEnhanced };

// The checksum a node computes for a frame under `model`; the diagnostic
// frames 0x3C and 0x3D always use the classic checksum.
std::uint8_t FrameChecksum(ChecksumModel model, std::uint8_t protected_id,
                           std::span<const std::uint8_t> data);

// The response a publisher sends: the data bytes and their checksum.
std::vector<std::uint8_t> WithChecksum(ChecksumModel model, std::uint8_t protected_id,
                                       std::span<const std::uint8_t> data);

// LIN 1.x length from identifier bits 4-5: 0-31 -> 2, 32-47 -> 4, 48-63 -> 8.
int DefaultDataLength(std::uint8_t id);

// Duration of `bits` bit times at `baud` bit/s, in microseconds.
std::int64_t BitsToMicros(double bits, std::uint32_t baud);

}  // namespace orvane::emulator
