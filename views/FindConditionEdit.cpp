#include "views/FindConditionEdit.h"

#include <algorithm>
#include <charconv>

namespace orvane::views {
namespace {

constexpr std::string_view kBitCycle = "*01UDC";

// One or two hexadecimal digits and nothing else.
std::optional<unsigned> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

char UpperEdge(char pattern) {
  switch (pattern) {
    case 'u':
      return 'U';
    case 'd':
      return 'D';
    case 'c':
      return 'C';
    default:
      return pattern;
  }
}

}  // namespace

std::optional<std::uint8_t> ParseFindIdentifier(std::string_view text) {
  const std::optional<unsigned> value = ParseHex(text);
  if (!value || *value > 0x3F) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

std::optional<std::string> ParseFindBytePattern(std::string_view text) {
  if (text == "*" || text == "**") return std::string(text);
  const std::optional<unsigned> value = ParseHex(text);
  if (!value) return std::nullopt;
  return HexByteText(static_cast<std::uint8_t>(*value));
}

std::optional<char> ParseFindBitPattern(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  const char pattern = UpperEdge(text.front());
  if (kBitCycle.find(pattern) == std::string_view::npos) return std::nullopt;
  return pattern;
}

char NextFindBitPattern(char current) {
  const std::size_t at = kBitCycle.find(UpperEdge(current));
  if (at == std::string_view::npos) return kBitCycle[1];
  return kBitCycle[(at + 1) % kBitCycle.size()];
}

std::string HexByteText(std::uint8_t value) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  return std::string{kDigits[value >> 4], kDigits[value & 0x0F]};
}

FindFieldsOffered FieldsOfferedFor(const settings::FindCondition& condition, int dataLength) {
  FindFieldsOffered offered;
  const bool frame = condition.kind == settings::kFindFrame;
  offered.ioEvent = condition.kind == settings::kFindIoEvent;
  offered.identifier = frame;
  offered.dataCompare = frame;
  offered.compareMode = frame && condition.dataCompare != 0;
  const int bytes = offered.compareMode ? std::clamp(dataLength, 0, 8) : 0;
  if (condition.compareMode == 0) offered.byteFields = bytes;
  if (condition.compareMode == 1) offered.bitFields = bytes;
  return offered;
}

}  // namespace orvane::views
