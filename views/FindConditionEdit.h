// Editing the Find window's condition: what its fields accept, the cycle of
// the bit buttons, and which fields are offered for a condition.
//
// Pure functions over plain values; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/FindCondition.h"

namespace orvane::views {

// The texts of the boxes (titled "Find Window", exclamation icon) that
// reject an entry; the field then shows its previous text again.
inline constexpr std::string_view kFindIdentifierRangeText =
    "Please input a correct value in the range of 00H - 3FH.";
inline constexpr std::string_view kFindBytePatternRangeText =
    "Please input a correct value in the range of 00H - FFH, * or **.";
inline constexpr std::string_view kFindBitPatternRangeText =
    "Please input a correct value *, 0, 1, U, D or C.";

// The identifier field: one or two hexadecimal digits, 00 to 3F.
std::optional<std::uint8_t> ParseFindIdentifier(std::string_view text);

// A data byte's field: "*", "**", or one or two hexadecimal digits (00 to
// FF). The pattern as stored: the wildcard as typed, a value as two
// lower-case digits.
std::optional<std::string> ParseFindBytePattern(std::string_view text);

// A bit's field: one of "*", "0", "1", "U", "D", "C"; "u", "d" and "c" are
// taken as upper case.
std::optional<char> ParseFindBitPattern(std::string_view text);

// The bit button: "*" → "0" → "1" → "U" → "D" → "C" → "*". A character
// that is none of these (a damaged configuration) counts as "*".
char NextFindBitPattern(char current);

// Two lower-case hexadecimal digits, as the identifier field shows an
// identifier.
std::string HexByteText(std::uint8_t value);

// Which of the Find window's fields take input for a condition.
struct FindFieldsOffered {
  bool ioEvent = false;      // kind I/O event
  bool identifier = false;   // kind frame
  bool dataCompare = false;  // kind frame
  bool compareMode = false;  // kind frame with data compare on
  int byteFields = 0;        // leading data bytes whose byte pattern is offered
  int bitFields = 0;         // leading data bytes whose bit patterns are offered
};

// The data fields are offered only for a frame with data compare on, only
// in its compare mode, and only for the `dataLength` bytes its identifier
// defines.
FindFieldsOffered FieldsOfferedFor(const settings::FindCondition& condition, int dataLength);

}  // namespace orvane::views
