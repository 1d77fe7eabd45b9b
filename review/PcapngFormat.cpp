#include "review/PcapngFormat.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <utility>

namespace orvane::review {
namespace {

constexpr std::string_view kStartPrefix = "analyzer time 0 at ";
constexpr std::string_view kUtcSuffix = " UTC";
constexpr std::string_view kUnknownSuffix = " (wall time unknown)";
constexpr std::string_view kFormatPrefix = "Orvane log format: ";
constexpr std::string_view kLengthsKey = "lengths=";
constexpr std::string_view kIoKey = " io=";
constexpr std::string_view kSerialSeparator = ", serial ";
constexpr std::string_view kFirmwareSeparator = ", firmware ";

std::size_t PaddedSize(std::size_t size) {
  return (size + 3) & ~std::size_t{3};
}

// The number of exactly `digits` decimal digits at `text`'s start, which is
// then dropped with the `separator` character after it (none when 0).
std::optional<int> TakeNumber(std::string_view& text, std::size_t digits, char separator) {
  if (text.size() < digits + (separator != 0 ? 1 : 0)) return std::nullopt;
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + digits, value);
  if (ec != std::errc() || ptr != text.data() + digits) return std::nullopt;
  if (separator != 0 && text[digits] != separator) return std::nullopt;
  text.remove_prefix(digits + (separator != 0 ? 1 : 0));
  return value;
}

std::optional<std::int64_t> ParseUtcMilliseconds(std::string_view text) {
  const auto year = TakeNumber(text, 4, '-');
  const auto month = TakeNumber(text, 2, '-');
  const auto day = TakeNumber(text, 2, ' ');
  const auto hour = TakeNumber(text, 2, ':');
  const auto minute = TakeNumber(text, 2, ':');
  const auto second = TakeNumber(text, 2, '.');
  const auto milli = TakeNumber(text, 3, 0);
  if (!year || !month || !day || !hour || !minute || !second || !milli || !text.empty()) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{*year},
                            std::chrono::month{static_cast<unsigned>(*month)},
                            std::chrono::day{static_cast<unsigned>(*day)}};
  if (!date.ok() || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  const std::int64_t days = sys_days{date}.time_since_epoch().count();
  return ((days * 24 + *hour) * 60 + *minute) * 60000 + *second * 1000 + *milli;
}

}  // namespace

void AppendU16(std::vector<std::uint8_t>& block, std::uint16_t value) {
  block.push_back(static_cast<std::uint8_t>(value));
  block.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendU32(std::vector<std::uint8_t>& block, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    block.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendPadded(std::vector<std::uint8_t>& block, std::span<const std::uint8_t> bytes) {
  block.insert(block.end(), bytes.begin(), bytes.end());
  block.resize(block.size() + PaddedSize(bytes.size()) - bytes.size(), 0);
}

void AppendOption(std::vector<std::uint8_t>& block, std::uint16_t code,
                  std::span<const std::uint8_t> value) {
  // An option holds at most 65535 bytes; a longer text is cut rather than
  // letting its length wrap and break the block.
  const std::span<const std::uint8_t> kept =
      value.first(std::min<std::size_t>(value.size(), 0xFFFF));
  AppendU16(block, code);
  AppendU16(block, static_cast<std::uint16_t>(kept.size()));
  AppendPadded(block, kept);
}

void AppendOption(std::vector<std::uint8_t>& block, std::uint16_t code, std::string_view text) {
  AppendOption(block, code,
               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void FinishBlock(std::vector<std::uint8_t>& block) {
  const auto total = static_cast<std::uint32_t>(block.size() + 4);
  AppendU32(block, total);
  for (int index = 0; index < 4; ++index) {
    block[4 + static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(total >> (8 * index));
  }
}

std::string FormatUtcMilliseconds(std::int64_t milliseconds) {
  using namespace std::chrono;
  const sys_time<std::chrono::milliseconds> time{std::chrono::milliseconds{milliseconds}};
  const sys_days days = floor<std::chrono::days>(time);
  const year_month_day date{days};
  const hh_mm_ss clock{time - days};
  char text[40];
  std::snprintf(
      text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d.%03d", static_cast<int>(date.year()),
      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
      static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
      static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
  return text;
}

std::string StartComment(std::optional<std::int64_t> start) {
  std::string text(kStartPrefix);
  text += FormatUtcMilliseconds(start.value_or(kUnknownStartMilliseconds));
  text += kUtcSuffix;
  if (!start) text += kUnknownSuffix;
  return text;
}

std::optional<StartTime> ParseStartComment(std::string_view comment) {
  if (!comment.starts_with(kStartPrefix)) return std::nullopt;
  comment.remove_prefix(kStartPrefix.size());
  const bool unknown = comment.ends_with(kUnknownSuffix);
  if (unknown) comment.remove_suffix(kUnknownSuffix.size());
  if (!comment.ends_with(kUtcSuffix)) return std::nullopt;
  comment.remove_suffix(kUtcSuffix.size());
  const std::optional<std::int64_t> base = ParseUtcMilliseconds(comment);
  if (!base) return std::nullopt;
  return StartTime{*base, unknown ? std::nullopt : base};
}

std::string LogFormatComment(const monitor::LogFormat& format) {
  std::string text(kFormatPrefix);
  text += kLengthsKey;
  for (const std::uint8_t length : format.dataLengths) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", length);
    text += digits;
  }
  text += format.identifierWithLengthCode ? " field=ID+DLC" : " field=IDEN";
  text += format.hexRadix ? " radix=HEX" : " radix=DEC";
  text += kIoKey;
  for (std::size_t index = 0; index < format.ioEventNames.size(); ++index) {
    if (index > 0) text += ',';
    text += format.ioEventNames[index];
  }
  return text;
}

bool ParseLogFormatComment(std::string_view comment, monitor::LogFormat& format) {
  if (!comment.starts_with(kFormatPrefix)) return false;
  comment.remove_prefix(kFormatPrefix.size());
  monitor::LogFormat parsed;
  if (!comment.starts_with(kLengthsKey)) return false;
  comment.remove_prefix(kLengthsKey.size());
  if (comment.size() < 2 * parsed.dataLengths.size()) return false;
  for (std::size_t index = 0; index < parsed.dataLengths.size(); ++index) {
    const char* digits = comment.data() + 2 * index;
    const auto [ptr, ec] = std::from_chars(digits, digits + 2, parsed.dataLengths[index], 16);
    if (ec != std::errc() || ptr != digits + 2) return false;
  }
  comment.remove_prefix(2 * parsed.dataLengths.size());
  const auto take = [&comment](std::string_view first, std::string_view second, bool& value) {
    if (comment.starts_with(first)) {
      value = true;
    } else if (comment.starts_with(second)) {
      value = false;
    } else {
      return false;
    }
    comment.remove_prefix(value ? first.size() : second.size());
    return true;
  };
  if (!take(" field=ID+DLC", " field=IDEN", parsed.identifierWithLengthCode) ||
      !take(" radix=HEX", " radix=DEC", parsed.hexRadix) || !comment.starts_with(kIoKey)) {
    return false;
  }
  comment.remove_prefix(kIoKey.size());
  for (std::size_t index = 0; index < parsed.ioEventNames.size(); ++index) {
    const std::size_t end = comment.find(',');
    const bool last = index + 1 == parsed.ioEventNames.size();
    if (last != (end == std::string_view::npos)) return false;
    parsed.ioEventNames[index] = comment.substr(0, end);
    comment.remove_prefix(last ? comment.size() : end + 1);
  }
  format = std::move(parsed);
  return true;
}

std::string InterfaceDescription(const RecordingSource& source) {
  return source.analyzerName + std::string(kSerialSeparator) + source.serialNumber +
         std::string(kFirmwareSeparator) + source.firmwareVersion;
}

bool ParseInterfaceDescription(std::string_view text, RecordingSource& source) {
  const std::size_t firmware = text.rfind(kFirmwareSeparator);
  if (firmware == std::string_view::npos) return false;
  const std::size_t serial = text.substr(0, firmware).rfind(kSerialSeparator);
  if (serial == std::string_view::npos) return false;
  source.analyzerName = text.substr(0, serial);
  source.serialNumber =
      text.substr(serial + kSerialSeparator.size(), firmware - serial - kSerialSeparator.size());
  source.firmwareVersion = text.substr(firmware + kFirmwareSeparator.size());
  return true;
}

}  // namespace orvane::review
