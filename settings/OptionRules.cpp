#include "settings/OptionRules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvane::settings {

namespace {

// A whole field of 1 to `maxDigits` digits in `base`; nullopt otherwise.
std::optional<unsigned> ParseDigits(std::string_view text, std::size_t maxDigits, int base) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

constexpr std::uint32_t kWakeupStep = 50;

}  // namespace

std::uint32_t ClampWakeupMicros(std::int64_t micros) {
  const auto clamped = static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(micros, kMinWakeupMicros, kMaxWakeupMicros));
  return clamped - clamped % kWakeupStep;
}

std::optional<std::uint8_t> ParseSpace(std::string_view text) {
  const auto value = ParseDigits(text, 3, 10);
  if (!value || *value > kMaxSpace) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

int TotalFrameLength(const FrameTimingRecord& timing, int dataLength) {
  return 44 + timing.SpaceA + timing.SpaceB + dataLength * (10 + timing.ByteSpace);
}

int MaxFrameLength(int dataLength) {
  // 1.4 x (10n + 45) + 0.5 in whole numbers, free of rounding errors.
  return (14 * (10 * dataLength + 45) + 5) / 10;
}

std::string TotalLengthLabel(const FrameTimingRecord& timing, int dataLength) {
  return Format("Total Length=%d", TotalFrameLength(timing, dataLength));
}

std::string MaxLengthLabel(int dataLength) { return Format("Max Length=%d", MaxFrameLength(dataLength)); }

std::optional<MessageBoxRequest> CheckFrameLength(const FrameTimingRecord& timing, int dataLength) {
  if (MaxFrameLength(dataLength) < TotalFrameLength(timing, dataLength)) return kFrameTooLongWarning;
  return std::nullopt;
}

IdentifierFieldMode IdentifierFieldModeFromText(std::string_view text) {
  return text == "ID+DLC" ? IdentifierFieldMode::IdPlusDlc : IdentifierFieldMode::Iden;
}

std::string FormatMaskEntry(std::uint8_t entry, IdentifierFieldMode mode, std::string_view dataRadix) {
  if (entry == kEmptyMaskId) return {};
  if (mode == IdentifierFieldMode::Iden) return Format("%02x", entry);
  return Format(dataRadix == "HEX" ? "%x" : "%d", entry & 0x0F);
}

MaskEntryResult ParseMaskEntry(std::string_view text, IdentifierFieldMode mode, int lengthSelection) {
  if (text.empty()) return {};
  const auto value = ParseDigits(text, 2, 16);
  if (!value || *value > 0x3F) return {kEmptyMaskId, kMaskIdRangeMessage};
  auto entry = static_cast<std::uint8_t>(*value);
  if (mode == IdentifierFieldMode::IdPlusDlc) {
    entry = static_cast<std::uint8_t>((entry & 0x0F) | (((lengthSelection + 1) & 0x0F) << 4));
  }
  return {entry, std::nullopt};
}

std::optional<std::uint8_t> ParseFillByte(std::string_view text) {
  const auto value = ParseDigits(text, 2, 16);
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

std::string FormatFillByte(std::uint8_t value) { return Format("%02x", value); }

std::optional<std::string> ParseLogNumber(std::string_view text) {
  const auto value = ParseDigits(text, 3, 10);
  if (!value) return std::nullopt;
  return Format("%03d", static_cast<int>(*value));
}

std::optional<MessageBoxRequest> CheckLogFileUsable(const std::string& candidate) {
  std::error_code error;
  const bool existed = std::filesystem::exists(candidate, error);
  {
    std::ofstream probe(candidate, std::ios::app | std::ios::binary);
    if (!probe.is_open()) return kLogFileUnusableMessage;
  }
  if (!existed) std::filesystem::remove(candidate, error);
  return std::nullopt;
}

}  // namespace orvane::settings
