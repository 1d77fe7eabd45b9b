#include "signals/LdfComments.h"

#include <algorithm>

namespace orvane::signals {
namespace {

// Notes the line breaks of text[from, to): copied ones where they now are,
// dropped ones where the next kept character will be.
void NoteLineBreaks(std::string_view text, std::size_t from, std::size_t to, bool copied,
                    std::size_t cleanedStart, LineMap* lines) {
  if (lines == nullptr) return;
  for (std::size_t at = text.find('\n', from); at < to; at = text.find('\n', at + 1)) {
    lines->AddLineStart(copied ? cleanedStart + (at - from) + 1 : cleanedStart);
  }
}

std::string Clean(std::string_view text, LineMap* lines) {
  std::string cleaned;
  cleaned.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    std::size_t end = 0;
    bool copy = true;
    if (c == '"') {
      const std::size_t close = text.find('"', pos + 1);
      end = close == std::string_view::npos ? text.size() : close + 1;
    } else if (text.substr(pos, 2) == "/*") {
      const std::size_t close = text.find("*/", pos + 2);
      end = close == std::string_view::npos ? text.size() : close + 2;
      copy = false;
    } else if (text.substr(pos, 2) == "//") {
      const std::size_t lineEnd = text.find_first_of("\r\n", pos + 2);
      end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
      copy = false;
    } else {
      // Copies up to the next character that may start a quote or a comment.
      const auto special = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos) + 1,
                                        text.end(), [](char s) { return s == '"' || s == '/'; });
      end = static_cast<std::size_t>(special - text.begin());
    }
    NoteLineBreaks(text, pos, end, copy, cleaned.size(), lines);
    if (copy) cleaned.append(text.substr(pos, end - pos));
    pos = end;
  }
  return cleaned;
}

}  // namespace

int LineMap::LineAt(std::size_t cleanedPosition) const {
  const auto passed = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), cleanedPosition);
  return 1 + static_cast<int>(passed - lineStarts_.begin());
}

std::string RemoveComments(std::string_view text) {
  return Clean(text, nullptr);
}

std::string RemoveComments(std::string_view text, LineMap& lines) {
  return Clean(text, &lines);
}

}  // namespace orvane::signals
