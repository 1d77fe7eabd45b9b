#include "settings/LogFileName.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace orvane::settings {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Removes a trailing "_" followed by three decimal digits.
std::string_view WithoutNumberSuffix(std::string_view stem) {
  constexpr std::size_t kSuffixSize = 4;
  if (stem.size() < kSuffixSize) return stem;
  const std::string_view suffix = stem.substr(stem.size() - kSuffixSize);
  if (suffix[0] != '_' || !std::all_of(suffix.begin() + 1, suffix.end(), IsDigit)) return stem;
  return stem.substr(0, stem.size() - kSuffixSize);
}

}  // namespace

std::string FormLogFileName(std::string_view logPath, bool numbering, std::string_view logNumber) {
  if (logPath.empty() && !numbering) return {};  // the default log
  const std::size_t nameStart = logPath.find_last_of('/') + 1;  // npos + 1 == 0
  const std::size_t dot = logPath.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  std::string_view stem = hasExtension ? logPath.substr(0, dot) : logPath;
  const std::string_view extension = hasExtension ? logPath.substr(dot + 1) : "log";

  std::string name;
  if (numbering) {
    name.append(WithoutNumberSuffix(stem)).append("_").append(logNumber);
  } else {
    name.append(stem);
  }
  return name.append(".").append(extension);
}

std::string AdvanceLogNumber(std::string_view logNumber) {
  unsigned value = 0;
  const auto [end, error] =
      std::from_chars(logNumber.data(), logNumber.data() + logNumber.size(), value);
  if (error != std::errc() || end != logNumber.data() + logNumber.size()) value = 0;
  const unsigned next = value >= 999 ? 0 : value + 1;
  char text[8];
  std::snprintf(text, sizeof text, "%03u", next);
  return text;
}

}  // namespace orvane::settings
