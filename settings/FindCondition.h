// The condition the Find window searches the monitor history for.
//
// Stored byte for byte as the last 136 bytes of the settings record. Plain
// data: the user-interface thread edits a copy in the find dialog and stores
// it back; the monitor view reads it when a search starts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::settings {

inline constexpr std::size_t kFindDataBytes = 8;

enum FindKind : std::uint8_t {
  kFindIoEvent = 0,
  kFindErrorFrame = 1,
  kFindFrame = 2,
};

#pragma pack(push, 1)
struct alignas(4) FindCondition {
  std::uint8_t kind;                           // FindKind
  char ioEventLabel[11];                       // copied with the condition; the search does not read it
  std::uint32_t ioEventNumber;                 // 0-5, for kind 0
  std::uint8_t identifier;                     // 0x00-0x3F, for kind 2
  std::uint8_t reserved1[3];                   // kept as read
  std::uint32_t dataCompare;                   // 0 off, 1 on
  std::uint32_t compareMode;                   // 0 byte, 1 bit
  char bytePatterns[kFindDataBytes][3];        // two hex digits, "*" or "**", zero-terminated
  char bitPatterns[kFindDataBytes][8];         // character k for bit k: * 0 1 U D C
  std::uint8_t reserved2[20];                  // kept as read
};
#pragma pack(pop)
static_assert(sizeof(FindCondition) == 136);
static_assert(offsetof(FindCondition, ioEventNumber) == 12);
static_assert(offsetof(FindCondition, identifier) == 16);
static_assert(offsetof(FindCondition, dataCompare) == 20);
static_assert(offsetof(FindCondition, compareMode) == 24);
static_assert(offsetof(FindCondition, bytePatterns) == 28);
static_assert(offsetof(FindCondition, bitPatterns) == 52);
static_assert(offsetof(FindCondition, reserved2) == 116);

// Kind error frame, every byte pattern "*" and every bit pattern "*".
FindCondition DefaultFindCondition();

}  // namespace orvane::settings
