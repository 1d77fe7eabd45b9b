// The four special frame conditions that mark frames of interest in the
// monitor and capture windows (condition 1 red, 2 blue, 3 green, 4 purple).
//
// Stored byte for byte in the settings record (four records of 92 bytes).
// Plain data: the user-interface thread edits it while monitoring is
// stopped; the monitor views take a copy at every start of a measurement.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::settings {

inline constexpr std::size_t kFrameHighlightCount = 4;
inline constexpr std::size_t kIoEventNameSize = 12;
inline constexpr std::size_t kDataBitPatternCount = 64;  // 8 data bytes of 8 bits

enum FrameHighlightKind : std::uint32_t {
  kIoEventCondition = 0,
  kFrameCondition = 1,
};

#pragma pack(push, 1)
struct alignas(4) FrameHighlightCondition {
  std::uint32_t enabled;                    // 1 on, 0 off
  std::uint32_t kind;                       // FrameHighlightKind
  char ioEventName[kIoEventNameSize];       // text of the I/O event (kind 0)
  std::uint32_t ioEventNumber;              // 0-5 (kind 0)
  std::uint8_t identifier;                  // 0x00-0x3F (kind 1)
  char bitPatterns[kDataBitPatternCount];   // character 8i + k: bit k of data byte i, '*', '0' or '1'
  std::uint8_t reserved[3];                 // zero
};
#pragma pack(pop)
static_assert(sizeof(FrameHighlightCondition) == 92);
static_assert(offsetof(FrameHighlightCondition, kind) == 4);
static_assert(offsetof(FrameHighlightCondition, ioEventName) == 8);
static_assert(offsetof(FrameHighlightCondition, ioEventNumber) == 20);
static_assert(offsetof(FrameHighlightCondition, identifier) == 24);
static_assert(offsetof(FrameHighlightCondition, bitPatterns) == 25);
static_assert(offsetof(FrameHighlightCondition, reserved) == 89);

using FrameHighlightConditions = std::array<FrameHighlightCondition, kFrameHighlightCount>;
static_assert(sizeof(FrameHighlightConditions) == 368);

// Disabled frame condition on identifier 0 with every bit "*".
FrameHighlightCondition DefaultFrameHighlightCondition();

}  // namespace orvane::settings
