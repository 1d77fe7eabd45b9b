// First stage of reading a LIN description file: comment removal, and the
// map from positions in the comment-free text back to the file's lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::signals {

// The 1-based file line of each position of a comment-free text. Lines end
// with "\n" (so CRLF counts once); the line breaks inside a removed block
// comment still count.
class LineMap {
 public:
  int LineAt(std::size_t cleanedPosition) const;
  void AddLineStart(std::size_t cleanedPosition) { lineStarts_.push_back(cleanedPosition); }

 private:
  std::vector<std::size_t> lineStarts_;  // where lines 2, 3 ... start; ascending
};

// Copies `text` without its comments: "/*" up to the next "*/" (or the end)
// and "//" up to, not including, the end of the line are dropped; text inside
// double quotes is copied unchanged, comment markers included; any other "/"
// is kept. Pure function; any thread.
std::string RemoveComments(std::string_view text);
// As above, and fills `lines` for the text returned.
std::string RemoveComments(std::string_view text, LineMap& lines);

}  // namespace orvane::signals
