#include "views/FrameHighlightEdit.h"

#include <algorithm>

#include "settings/FixedText.h"
#include "settings/OptionRules.h"

namespace orvane::views {

namespace {

constexpr std::uint8_t kMaxIdentifier = 0x3F;

}  // namespace

std::optional<std::uint8_t> ParseHighlightIdentifier(std::string_view text) {
  // The same digits as a fill byte, with the identifier's range.
  const std::optional<std::uint8_t> value = settings::ParseFillByte(text);
  if (!value || *value > kMaxIdentifier) return std::nullopt;
  return value;
}

std::string FormatHighlightIdentifier(std::uint8_t identifier) {
  return settings::FormatFillByte(identifier);
}

bool IsHighlightBit(char pattern) {
  return pattern == '*' || pattern == '0' || pattern == '1';
}

char NextHighlightBit(char pattern) {
  switch (pattern) {
    case '*':
      return '0';
    case '0':
      return '1';
    default:
      return '*';
  }
}

int PatternBytes(const settings::FrameHighlightCondition& condition,
                 std::span<const std::uint8_t, 64> dataLengths) {
  if (condition.kind != settings::kFrameCondition || condition.identifier > kMaxIdentifier) {
    return 0;
  }
  return std::min<int>(dataLengths[condition.identifier], 8);
}

std::array<std::string, kIoEventCount> IoEventNames(const settings::OptionSettingsExt& options) {
  std::array<std::string, kIoEventCount> names;
  for (std::size_t channel = 0; channel < settings::kIoChannelCount; ++channel) {
    const settings::IoChannel& io = options.IoChannels[channel];
    names[2 * channel] = settings::FieldText(io.risingName);
    names[2 * channel + 1] = settings::FieldText(io.fallingName);
  }
  return names;
}

void SetIoEvent(settings::FrameHighlightCondition& condition, std::uint32_t number,
                std::string_view name) {
  condition.ioEventNumber = number;
  settings::CopyToField(name, condition.ioEventName);
}

}  // namespace orvane::views
