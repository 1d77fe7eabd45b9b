#include "pattern/PatternLineReader.h"

namespace orvane::pattern {

std::optional<std::ifstream> OpenPatternFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return in;
}

int PatternLineReader::NextCharacter() {
  std::streambuf& buffer = *in_.rdbuf();
  const int c = buffer.sbumpc();
  if (c == '\r' && buffer.sgetc() == '\n') return buffer.sbumpc();
  return c;
}

bool PatternLineReader::Next(std::string& piece) {
  piece.clear();
  while (piece.size() < kPatternPieceLength) {
    const int c = NextCharacter();
    if (c == std::char_traits<char>::eof()) break;
    piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !piece.empty();
}

}  // namespace orvane::pattern
