#include "signals/LdfScanner.h"

#include <charconv>

namespace orvane::signals {
namespace {

constexpr std::size_t kMaxIntegerChars = 11;
constexpr std::size_t kMaxRealChars = 239;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsIdentifierChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// Text files of the original platform carry 8-bit code page characters in
// quoted text (for example a degree sign), so only control characters are
// refused.
bool IsPrintable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte != 0x7F;
}
bool HasHexPrefix(std::string_view text) {
  return text.starts_with("0x") || text.starts_with("0X");
}
std::size_t CountWhile(std::string_view text, std::size_t from, bool (*accept)(char)) {
  std::size_t count = 0;
  while (from + count < text.size() && accept(text[from + count])) ++count;
  return count;
}

}  // namespace

void LdfScanner::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

void LdfScanner::StartToken() {
  SkipBlanks();
  tokenStart_ = pos_;
}

bool LdfScanner::Keyword(std::string_view word) {
  SkipBlanks();
  if (!text_.substr(pos_).starts_with(word)) return false;
  pos_ += word.size();
  return true;
}

bool LdfScanner::Unit(std::string_view word) {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  if (!text_.substr(pos_).starts_with(word)) return false;
  pos_ += word.size();
  return true;
}

bool LdfScanner::Peek(char c) {
  SkipBlanks();
  return pos_ < text_.size() && text_[pos_] == c;
}

std::optional<std::string> LdfScanner::Identifier() {
  StartToken();
  if (pos_ >= text_.size() || !IsLetter(text_[pos_])) return std::nullopt;
  const std::size_t length = CountWhile(text_, pos_, IsIdentifierChar);
  std::string name(text_.substr(pos_, length));
  pos_ += length;
  return name;
}

std::optional<std::int64_t> LdfScanner::Integer() {
  StartToken();
  const std::string_view rest = text_.substr(pos_, kMaxIntegerChars);
  const bool hex = HasHexPrefix(rest);
  const std::size_t digitsStart = hex ? 2 : (rest.starts_with('-') ? 1 : 0);
  const std::size_t digits = CountWhile(rest, digitsStart, hex ? IsHexDigit : IsDigit);
  if (digits == 0) return std::nullopt;
  const std::size_t length = digitsStart + digits;
  // At most 11 characters always fit into 64 bits; from_chars reads the sign.
  std::int64_t value = 0;
  std::from_chars(rest.data() + (hex ? 2 : 0), rest.data() + length, value, hex ? 16 : 10);
  pos_ += length;
  return value;
}

std::optional<RealToken> LdfScanner::Real() {
  StartToken();
  const std::string_view rest = text_.substr(pos_);
  if (HasHexPrefix(rest)) {
    const auto integer = Integer();
    if (!integer) return std::nullopt;
    return RealToken{static_cast<double>(*integer), false,
                     std::string(text_.substr(tokenStart_, pos_ - tokenStart_))};
  }
  std::size_t length = rest.starts_with('-') ? 1 : 0;
  std::size_t digits = CountWhile(rest, length, IsDigit);
  length += digits;
  if (length < rest.size() && rest[length] == '.') {
    const std::size_t fraction = CountWhile(rest, length + 1, IsDigit);
    digits += fraction;
    length += 1 + fraction;
  }
  if (digits == 0) return std::nullopt;
  RealToken token;
  if (length < rest.size() && (rest[length] == 'e' || rest[length] == 'E')) {
    std::size_t exponent = length + 1;
    if (exponent < rest.size() && (rest[exponent] == '+' || rest[exponent] == '-')) ++exponent;
    const std::size_t exponentDigits = CountWhile(rest, exponent, IsDigit);
    if (exponentDigits > 0) {
      length = exponent + exponentDigits;
      token.hasExponent = true;
    }
  }
  if (length > kMaxRealChars) return std::nullopt;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + length, token.value);
  if (error != std::errc{} || end != rest.data() + length) return std::nullopt;
  token.text = std::string(rest.substr(0, length));
  pos_ += length;
  return token;
}

std::optional<std::string> LdfScanner::Quoted() {
  StartToken();
  if (pos_ >= text_.size() || text_[pos_] != '"') return std::nullopt;
  const std::size_t length =
      CountWhile(text_, pos_ + 1, [](char c) { return c != '"' && IsPrintable(c); });
  const std::size_t close = pos_ + 1 + length;
  if (close >= text_.size() || text_[close] != '"') return std::nullopt;
  std::string text(text_.substr(pos_ + 1, length));
  pos_ = close + 1;
  return text;
}

bool LdfScanner::FindSection(std::string_view keyword) {
  int depth = 0;
  for (std::size_t at = pos_; at < text_.size(); ++at) {
    const char c = text_[at];
    if (depth == 0 && text_.substr(at).starts_with(keyword)) {
      pos_ = at + keyword.size();
      return true;
    }
    if (c == '"') {
      at = text_.find('"', at + 1);
      if (at == std::string_view::npos) return false;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}' && --depth < 0) {
      return false;
    }
  }
  return false;
}

}  // namespace orvane::signals
