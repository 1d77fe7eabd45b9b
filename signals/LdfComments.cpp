#include "signals/LdfComments.h"

#include <algorithm>

namespace orvane::signals {

std::string RemoveComments(std::string_view text) {
  std::string cleaned;
  cleaned.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '"') {
      const std::size_t close = text.find('"', pos + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
      cleaned.append(text.substr(pos, end - pos));
      pos = end;
    } else if (text.substr(pos, 2) == "/*") {
      const std::size_t close = text.find("*/", pos + 2);
      pos = close == std::string_view::npos ? text.size() : close + 2;
    } else if (text.substr(pos, 2) == "//") {
      const std::size_t lineEnd = text.find_first_of("\r\n", pos + 2);
      pos = lineEnd == std::string_view::npos ? text.size() : lineEnd;
    } else {
      // Copies up to the next character that may start a quote or a comment.
      const auto special = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos) + 1,
                                        text.end(), [](char s) { return s == '"' || s == '/'; });
      const auto end = static_cast<std::size_t>(special - text.begin());
      cleaned.append(text.substr(pos, end - pos));
      pos = end;
    }
  }
  return cleaned;
}

}  // namespace orvane::signals
