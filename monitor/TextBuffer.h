// A fixed-size text buffer for building one line without allocating. Appends
// that would not fit are cut at the buffer's end, so a line can never overrun
// it; the texts are always NUL-terminated.
//
// Threads: a plain value; one thread at a time.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane::monitor {

template <std::size_t Capacity>
class TextBuffer {
 public:
  std::string_view View() const { return std::string_view(chars_.data(), size_); }
  const char* CString() const { return chars_.data(); }
  void Clear() { Terminate(0); }

  void Append(std::string_view text) {
    const std::size_t count = std::min(text.size(), Room());
    std::copy_n(text.data(), count, chars_.data() + size_);
    Terminate(size_ + count);
  }

  // Two lower-case hexadecimal digits ("%02x").
  void AppendHex2(std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const char digits[2] = {kDigits[value >> 4], kDigits[value & 0x0F]};
    Append(std::string_view(digits, 2));
  }

  // Hexadecimal ("%x") or decimal ("%d") without padding.
  void AppendNumber(std::uint64_t value, int base) { AppendPadded(value, base, 1); }

  // Decimal with leading zeros up to minDigits ("%02d", "%03d").
  void AppendDecimal(std::uint64_t value, int minDigits) { AppendPadded(value, 10, minDigits); }

 private:
  void AppendPadded(std::uint64_t value, int base, int minDigits) {
    char digits[24];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value, base);
    const std::size_t length = static_cast<std::size_t>(result.ptr - digits);
    for (std::size_t padding = length; padding < static_cast<std::size_t>(minDigits); ++padding) {
      Append("0");
    }
    Append(std::string_view(digits, length));
  }

  std::size_t Room() const { return Capacity - 1 - size_; }
  void Terminate(std::size_t size) {
    size_ = size;
    chars_[size_] = '\0';
  }

  std::array<char, Capacity> chars_{};
  std::size_t size_ = 0;
};

}  // namespace orvane::monitor
