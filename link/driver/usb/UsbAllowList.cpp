#include "link/driver/usb/UsbAllowList.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orlink::driver {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::uint16_t> HexField(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::string NotAPair(std::string_view where, std::string_view entry) {
  return "orlink: " + std::string(where) + ": \"" + std::string(entry) +
         "\" is not a USB vendor:product pair (vvvv:pppp in hexadecimal); skipped\n";
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::optional<UsbId> ParseUsbId(std::string_view text) {
  text = Trimmed(text);
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto vendor = HexField(text.substr(0, colon));
  const auto product = HexField(text.substr(colon + 1));
  if (!vendor || !product) return std::nullopt;
  return UsbId{*vendor, *product};
}

std::string FormatUsbId(UsbId id) {
  char text[10];
  std::snprintf(text, sizeof text, "%04x:%04x", id.vendor, id.product);
  return text;
}

UsbAllowList::UsbAllowList() : ids_{kAnalyzerUsbId} {}

bool UsbAllowList::Contains(UsbId id) const {
  return std::ranges::find(ids_, id) != ids_.end();
}

void UsbAllowList::Add(UsbId id) {
  if (!Contains(id)) ids_.push_back(id);
}

void UsbAllowList::AddEnvironmentValue(std::string_view value, std::string& messages) {
  while (!value.empty()) {
    const std::size_t comma = std::min(value.find(','), value.size());
    const std::string_view entry = Trimmed(value.substr(0, comma));
    value.remove_prefix(std::min(comma + 1, value.size()));
    if (entry.empty()) continue;
    if (const auto id = ParseUsbId(entry)) {
      Add(*id);
    } else {
      messages += NotAPair("ORLINK_USB_IDS", entry);
    }
  }
}

void UsbAllowList::AddFileText(std::string_view text, std::string_view source,
                               std::string& messages) {
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++line_number;
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (const auto id = ParseUsbId(line)) {
      Add(*id);
    } else {
      messages += NotAPair(std::string(source) + ":" + std::to_string(line_number), line);
    }
  }
}

std::vector<std::string> UsbIdFiles() {
  std::vector<std::string> files{"/etc/orvane/usb-ids"};
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config != nullptr && *config != '\0') {
    files.push_back(std::string(config) + "/orvane/usb-ids");
  } else if (home != nullptr && *home != '\0') {
    files.push_back(std::string(home) + "/.config/orvane/usb-ids");
  }
  return files;
}

UsbAllowList AllowListFromEnvironment(std::string& messages) {
  UsbAllowList list;
  if (const char* value = std::getenv("ORLINK_USB_IDS")) list.AddEnvironmentValue(value, messages);
  for (const std::string& path : UsbIdFiles()) {
    if (const auto text = ReadFile(path)) list.AddFileText(*text, path, messages);
  }
  return list;
}

}  // namespace orlink::driver
