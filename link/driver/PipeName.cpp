#include "link/driver/PipeName.h"

#include <charconv>
#include <cstdio>

namespace orlink::driver {
namespace {

constexpr std::string_view kInterfaceTag = "if";
constexpr std::string_view kPipeTag = "pipe";
constexpr std::size_t kDigits = 3;
constexpr std::size_t kSuffixLength = kInterfaceTag.size() + kDigits + kPipeTag.size() + kDigits;

std::optional<std::uint8_t> ParseNumber(std::string_view digits) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size() || value > 0xFF) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace

std::string FormatPipeName(std::string_view device_path, std::uint8_t interface_number,
                           std::uint8_t pipe_number) {
  char suffix[kSuffixLength + 2];
  std::snprintf(suffix, sizeof suffix, "\\if%03dpipe%03d", interface_number, pipe_number);
  std::string name(device_path);
  name += suffix;
  return name;
}

std::optional<std::string_view> PipeSuffix(std::string_view name) {
  const std::size_t separator = name.rfind('\\');
  if (separator == std::string_view::npos) return std::nullopt;
  const std::string_view suffix = name.substr(separator + 1);
  if (suffix.size() != kSuffixLength || !suffix.starts_with(kInterfaceTag) ||
      suffix.substr(kInterfaceTag.size() + kDigits, kPipeTag.size()) != kPipeTag) {
    return std::nullopt;
  }
  return suffix;
}

std::optional<PipeName> ParsePipeName(std::string_view name) {
  const auto suffix = PipeSuffix(name);
  if (!suffix) return std::nullopt;
  const auto interface_number = ParseNumber(suffix->substr(kInterfaceTag.size(), kDigits));
  const auto pipe_number = ParseNumber(suffix->substr(kSuffixLength - kDigits));
  if (!interface_number || !pipe_number) return std::nullopt;
  return PipeName{std::string(name.substr(0, name.size() - suffix->size() - 1)),
                  *interface_number, *pipe_number};
}

}  // namespace orlink::driver
