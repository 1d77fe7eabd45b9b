// Reading a number the way a "%x" conversion does.
//
// Pattern files and the filter identifier of the log conversion accept any
// hexadecimal spelling that "%x" accepts: leading white space, an optional
// sign, an optional "0x"/"0X" prefix, then hexadecimal digits. Pure
// functions; any thread may call them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane::pattern {

// The value at the start of `text`, or nothing when no hexadecimal digit
// follows the optional white space, sign and prefix. Trailing characters are
// ignored ("3cz" reads 0x3C). A value wider than 32 bits reads as
// 0xFFFFFFFF instead of wrapping, so an overlong number can never pass for a
// small one; a minus sign negates modulo 2^32 ("-1" reads 0xFFFFFFFF).
std::optional<std::uint32_t> ScanHex(std::string_view text);

}  // namespace orvane::pattern
