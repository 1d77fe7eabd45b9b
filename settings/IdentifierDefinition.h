// Data length and checksum model of each of the 64 LIN identifiers.
//
// The record is stored byte for byte inside the settings record and so in
// the configuration file; it decides how many data bytes every view and the
// log show and is written to the analyzer as its length table.
//
// Plain data without locks: the user-interface thread edits it while
// monitoring is stopped; the views read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "monitor/MessageSink.h"

namespace orvane::settings {

inline constexpr std::size_t kIdentifierCount = 64;
inline constexpr std::uint8_t kMaxDataLength = 8;

#pragma pack(push, 1)
struct alignas(4) IdentifierDefinition {
  std::uint8_t dataLength[kIdentifierCount];       // 0-8 bytes per identifier
  std::uint32_t classicChecksum[kIdentifierCount];  // 1 classic, 0 enhanced
};
#pragma pack(pop)
static_assert(sizeof(IdentifierDefinition) == 320);
static_assert(offsetof(IdentifierDefinition, classicChecksum) == 64);

inline constexpr monitor::MessageBoxRequest kDataLengthRangeMessage{
    .caption = "Error",
    .text = "Please input a correct value in the range of 0 - 8.",
    .icon = monitor::MessageIcon::kExclamation};
// Shown by the main frame when the length table cannot be written.
inline constexpr monitor::MessageBoxRequest kLengthTableWriteFailedMessage{
    .caption = "Error", .text = "DL Definition Error.    ", .icon = monitor::MessageIcon::kExclamation};

// A data length field (one character): a digit 0-8; nullopt otherwise (the
// dialog then shows kDataLengthRangeMessage and restores the old value).
std::optional<std::uint8_t> ParseDataLength(std::string_view text);

// Whether the identifier definition dialog offers "Enhanced" for an
// identifier: never under LIN 1.3, never for 0x3C and 0x3D (always
// classic), never for the extended frames 0x3E and 0x3F.
bool CanUseEnhancedChecksum(std::uint8_t identifier, bool lin20);

// The default data length of an identifier, from its bits 4-5:
// 00 or 01 give 2 bytes, 10 gives 4, 11 gives 8.
std::uint8_t DefaultDataLength(std::uint8_t identifier);

// Resets `count` identifiers from `first` on (the "Default" button of one
// page of 16) to their default data length and the classic checksum.
// Identifiers beyond 63 are ignored.
void SetIdentifierDefaults(IdentifierDefinition& definition, std::size_t first, std::size_t count);

// Resets all 64 identifiers ("Default (All)" and a new configuration).
void SetIdentifierDefaults(IdentifierDefinition& definition);

// LIN 1.3 knows only the classic checksum: every enhanced model becomes classic.
void ConvertToLin13(IdentifierDefinition& definition);

// Makes a definition read from a file usable: data lengths above 8 become
// 8, every non-zero model becomes 1, and the diagnostic identifiers 0x3C and
// 0x3D always use the classic checksum.
void NormalizeIdentifierDefinition(IdentifierDefinition& definition);

}  // namespace orvane::settings
