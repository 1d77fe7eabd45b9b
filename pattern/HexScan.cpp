#include "pattern/HexScan.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace orvane::pattern {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::uint32_t> ScanHex(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // "0x" counts as a prefix only when a digit follows; otherwise the "0" is
  // the number, as with the C library's scanner.
  if (text.size() - pos >= 3 && text[pos] == '0' &&
      (text[pos + 1] == 'x' || text[pos + 1] == 'X') && HexDigitValue(text[pos + 2]) >= 0) {
    pos += 2;
  }
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  bool anyDigit = false;
  for (; pos < text.size(); ++pos) {
    const int digit = HexDigitValue(text[pos]);
    if (digit < 0) break;
    anyDigit = true;
    value = value > (kMax >> 4) ? kMax : std::min<std::uint64_t>(kMax, value * 16 + digit);
  }
  if (!anyDigit) return std::nullopt;
  const auto magnitude = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - magnitude) : magnitude;
}

}  // namespace orvane::pattern
