#include "signals/SignalDecode.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace orvane::signals {
namespace {

constexpr int kPhysicalDecimals = 7;

bool Applies(const ValueEntry& value, std::uint16_t raw) {
  switch (value.kind) {
    case ValueKind::kLogical:
    case ValueKind::kPhysical:
      return value.minimum <= raw && raw <= value.maximum;
    case ValueKind::kBcd:
    case ValueKind::kAscii:
      return true;
  }
  return false;
}

std::string HexDigits(std::uint16_t raw) {
  std::array<char, 4> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), raw, 16);
  return std::string(digits.data(), result.ptr);
}

std::string AsciiBytes(std::uint16_t raw, std::uint32_t signalSize) {
  const std::uint32_t bits = std::min(signalSize, kMaxRawBits);
  std::string text;
  for (std::uint32_t byte = 0; byte < (bits + 7) / 8; ++byte) {
    const auto c = static_cast<char>(raw >> (8 * byte) & 0xFF);
    text.push_back(c >= 0x20 && c < 0x7F ? c : '.');
  }
  return text;
}

std::string Text(const ValueEntry& value, std::uint16_t raw, std::uint32_t signalSize) {
  switch (value.kind) {
    case ValueKind::kLogical:
      return value.text;
    case ValueKind::kPhysical:
      return FormatPhysicalValue(PhysicalValue(value, raw)) + " (" + value.text + ")";
    case ValueKind::kBcd:
      return HexDigits(raw);
    case ValueKind::kAscii:
      return AsciiBytes(raw, signalSize);
  }
  return {};
}

}  // namespace

std::uint16_t ExtractRawValue(std::span<const std::uint8_t, kDataBytes> data,
                              std::uint32_t bitOffset, std::uint32_t size) {
  std::uint16_t value = 0;
  const std::uint32_t bits = std::min(size, kMaxRawBits);
  for (std::uint32_t k = 0; k < bits; ++k) {
    const std::uint64_t bit = std::uint64_t{bitOffset} + k;
    if (bit >= kDataBytes * 8) break;
    if ((data[bit / 8] >> (bit % 8) & 1) != 0) value |= static_cast<std::uint16_t>(1u << k);
  }
  return value;
}

const ValueEntry* ApplicableEntry(const Encoding& encoding, std::uint16_t raw) {
  const auto found = std::ranges::find_if(
      encoding.values, [raw](const ValueEntry& value) { return Applies(value, raw); });
  return found == encoding.values.end() ? nullptr : &*found;
}

std::string EncodeText(const Encoding& encoding, std::uint16_t raw, std::uint32_t signalSize) {
  const ValueEntry* entry = ApplicableEntry(encoding, raw);
  return entry == nullptr ? std::string() : Text(*entry, raw, signalSize);
}

std::string FormatPhysicalValue(double value) {
  // Wide enough for the largest double in fixed notation.
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, kPhysicalDecimals);
  std::string text(buffer.data(), result.ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.')) text.pop_back();
  }
  return text;
}

}  // namespace orvane::signals
