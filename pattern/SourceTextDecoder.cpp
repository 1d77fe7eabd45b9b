#include "pattern/SourceTextDecoder.h"

#include <cstdint>

namespace orvane::pattern {
namespace {

constexpr std::size_t kMarkLength = 2;

bool IsLowSurrogate(std::uint16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void SourceTextDecoder::Feed(std::string_view bytes, std::string& out) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (encoding_ == Encoding::kPlain) {
      out += bytes.substr(i);
      return;
    }
    held_.push_back(bytes[i]);
    if (held_.size() < kMarkLength) continue;
    if (encoding_ == Encoding::kUndecided) {
      Decide(out);
    } else {
      DecodeUnit(held_[0], held_[1], out);
      held_.clear();
    }
  }
}

void SourceTextDecoder::Finish(std::string& out) {
  // A file of one byte is plain text; the odd last byte of UTF-16 text is
  // half a character and dropped.
  if (encoding_ == Encoding::kUndecided) out += held_;
  held_.clear();
}

void SourceTextDecoder::Decide(std::string& out) {
  const auto first = static_cast<unsigned char>(held_[0]);
  const auto second = static_cast<unsigned char>(held_[1]);
  if (first == 0xFF && second == 0xFE) {
    encoding_ = Encoding::kUtf16LittleEndian;
  } else if (first == 0xFE && second == 0xFF) {
    encoding_ = Encoding::kUtf16BigEndian;
  } else {
    encoding_ = Encoding::kPlain;
    out += held_;
  }
  held_.clear();
}

void SourceTextDecoder::DecodeUnit(char first, char second, std::string& out) {
  const auto low =
      static_cast<unsigned char>(encoding_ == Encoding::kUtf16LittleEndian ? first : second);
  const auto high =
      static_cast<unsigned char>(encoding_ == Encoding::kUtf16LittleEndian ? second : first);
  const auto unit = static_cast<std::uint16_t>(high << 8 | low);
  // A surrogate pair is one character: the high half gives the '?', the low
  // half adds nothing.
  if (IsLowSurrogate(unit)) return;
  out.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
}

}  // namespace orvane::pattern
