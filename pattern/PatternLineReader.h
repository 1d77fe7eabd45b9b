// Reads a pattern file line by line the way every reader of pattern files
// does: in text mode (a carriage return right before a line feed is
// dropped) and in pieces of at most 63 characters, so that a longer line
// is read as several lines. Each piece keeps its line feed when it has one.
//
// One reader per stream; not thread-safe. Reading never fails on binary
// content: every byte is a character.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <string>

namespace orvane::pattern {

inline constexpr std::size_t kPatternPieceLength = 63;

// Opens a pattern file for reading; nothing when it cannot be opened or is
// a directory.
std::optional<std::ifstream> OpenPatternFile(const std::filesystem::path& path);

class PatternLineReader {
 public:
  explicit PatternLineReader(std::istream& in) : in_(in) {}

  // Fills `piece` with the next piece; false at the end of the stream.
  bool Next(std::string& piece);

 private:
  // The next character after text-mode translation, or EOF.
  int NextCharacter();

  std::istream& in_;
};

}  // namespace orvane::pattern
