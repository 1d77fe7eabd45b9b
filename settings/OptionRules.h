// The rules of the "Option Setup" dialog as plain functions: ranges,
// parsing and display of the entry fields, the frame-length labels, and the
// messages the dialog shows when an entry is rejected.
//
// Pure functions; any thread. CheckLogFileUsable touches the file system.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/OptionSettings.h"
#include "monitor/MessageSink.h"

namespace orvane::settings {

using monitor::MessageBoxRequest;

inline constexpr MessageBoxRequest kMaskIdRangeMessage{
    .caption = "Error",
    .text = "Please input ID value in the range of 00-3F.",
    .icon = monitor::MessageIcon::kExclamation};
// The catalogue message for a space out of range: "Enter proper space value (0-60)."
inline constexpr int kSpaceRangeMessageCode = 50;
inline constexpr MessageBoxRequest kLogNumberMessage{
    .caption = "Log File",
    .text = "Please input a correct value  in the range of 000 - 999.     ",
    .icon = monitor::MessageIcon::kExclamation};
inline constexpr MessageBoxRequest kLogFileUnusableMessage{
    .caption = "Log File",
    .text = "This file path or file name is disable.     \nPlease input a correct file path or file "
            "name.     ",
    .icon = monitor::MessageIcon::kStop};
inline constexpr MessageBoxRequest kFrameTooLongWarning{
    .caption = "Warning",
    .text = "The output frame may have a frame length of more than the maximum length for a frame of "
            "LIN specifications.",
    .icon = monitor::MessageIcon::kExclamation};

// The wake-up lengths the "Wakeup" page offers, in microseconds.
inline constexpr std::array<std::uint32_t, 22> kWakeupChoices{
    50,   100,  150,  200,  250,  300,  400,  500,  600,  700,  800,
    900,  1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

// Clamps a wake-up length to 50-10000 and rounds it down to a multiple of 50.
std::uint32_t ClampWakeupMicros(std::int64_t micros);

inline constexpr std::uint8_t kMaxSpace = 60;

// A frame-space entry: a decimal number 0-60; nullopt otherwise (the
// dialog then shows catalogue message kSpaceRangeMessageCode).
std::optional<std::uint8_t> ParseSpace(std::string_view text);

// Estimated bit length of a frame of `dataLength` bytes with the given spaces.
int TotalFrameLength(const FrameTimingRecord& timing, int dataLength);
// The longest frame of `dataLength` bytes that LIN allows:
// the integer part of 1.4 x (10 x dataLength + 45) + 0.5.
int MaxFrameLength(int dataLength);
std::string TotalLengthLabel(const FrameTimingRecord& timing, int dataLength);  // "Total Length=%d"
std::string MaxLengthLabel(int dataLength);                                     // "Max Length=%d"
// kFrameTooLongWarning when the estimated frame exceeds the LIN maximum.
std::optional<MessageBoxRequest> CheckFrameLength(const FrameTimingRecord& timing, int dataLength);

// How identifiers are shown throughout the program.
enum class IdentifierFieldMode { Iden, IdPlusDlc };
// "IDEN" or "ID+DLC"; any other text is taken as "IDEN".
IdentifierFieldMode IdentifierFieldModeFromText(std::string_view text);

// The text of a mask entry: empty for an empty entry (0xFF); "%02x" in
// IDEN mode; otherwise the low four bits, "%x" when `dataRadix` is "HEX",
// else "%d".
std::string FormatMaskEntry(std::uint8_t entry, IdentifierFieldMode mode, std::string_view dataRadix);

struct MaskEntryResult {
  std::uint8_t value = kEmptyMaskId;
  std::optional<MessageBoxRequest> error;  // kMaskIdRangeMessage when rejected
};

// A mask entry field: empty gives 0xFF; otherwise one or two hexadecimal
// digits of at most 0x3F. In ID+DLC mode bits 4-7 take the entry's length
// selection index plus one (-1 when nothing is selected, clearing them).
MaskEntryResult ParseMaskEntry(std::string_view text, IdentifierFieldMode mode, int lengthSelection);

// A fill byte field: one or two hexadecimal digits; nullopt otherwise (the
// byte then keeps its value).
std::optional<std::uint8_t> ParseFillByte(std::string_view text);
std::string FormatFillByte(std::uint8_t value);  // "%02x"

// The log number field: one to three decimal digits give the number as
// three digits with leading zeros; nullopt otherwise (the dialog then shows
// kLogNumberMessage and restores the field).
std::optional<std::string> ParseLogNumber(std::string_view text);

// Whether `candidate` can take the live log: it must open for appending. A
// file that did not exist before is removed again. kLogFileUnusableMessage
// when it cannot be opened.
std::optional<MessageBoxRequest> CheckLogFileUsable(const std::string& candidate);

}  // namespace orvane::settings
