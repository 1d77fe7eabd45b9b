// The entry rules of the "Special Frame Setup" dialog: the identifier and
// bit pattern fields, which data bytes a condition's patterns apply to, and
// the I/O events a condition can name.
//
// Pure functions over plain values; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "monitor/MessageSink.h"
#include "settings/FrameHighlightCondition.h"
#include "settings/OptionSettings.h"

namespace orvane::views {

inline constexpr monitor::MessageBoxRequest kHighlightIdentifierMessage{
    .caption = "Error",
    .text = "Please input a correct value in the range of 00H - 3FH.",
    .icon = monitor::MessageIcon::kExclamation};
inline constexpr monitor::MessageBoxRequest kHighlightBitMessage{
    .caption = "Error",
    .text = "Please input a correct value *, 0 or 1     ",
    .icon = monitor::MessageIcon::kExclamation};

inline constexpr std::size_t kIoEventCount = 2 * settings::kIoChannelCount;

// The ID field: one or two hexadecimal digits of at most 0x3F; nullopt
// otherwise (the dialog then shows kHighlightIdentifierMessage and the
// previous identifier returns).
std::optional<std::uint8_t> ParseHighlightIdentifier(std::string_view text);
// "%02x".
std::string FormatHighlightIdentifier(std::uint8_t identifier);

// A bit field takes "*", "0" or "1".
bool IsHighlightBit(char pattern);
// The bit button: "*" → "0" → "1" → "*"; any other character becomes "*".
char NextHighlightBit(char pattern);

// The data bytes whose patterns a condition compares, so the ones the
// dialog lets the user edit: the defined data length (at most 8) of a frame
// condition's identifier; none for an I/O event condition or an identifier
// beyond 0x3F.
int PatternBytes(const settings::FrameHighlightCondition& condition,
                 std::span<const std::uint8_t, 64> dataLengths);

// The names of I/O events 0-5 (records of kind 10-15): rising and falling
// edge of channels 1 to 3.
std::array<std::string, kIoEventCount> IoEventNames(const settings::OptionSettingsExt& options);

// Makes the condition name I/O event `number` (0-5) with its `name`.
void SetIoEvent(settings::FrameHighlightCondition& condition, std::uint32_t number,
                std::string_view name);

}  // namespace orvane::views
