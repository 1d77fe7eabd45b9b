#include "pattern/PatternRows.h"

#include <string>

#include "pattern/PatternLineReader.h"

namespace orvane::pattern {

PatternRows ReadPatternRows(std::istream& in, std::size_t maxRows) {
  PatternRows result;
  PatternLineReader reader(in);
  std::string piece;
  while (reader.Next(piece)) {
    if (result.rows.size() == maxRows) return {PatternRowsStatus::kTooManyRows, {}};
    result.rows.push_back(ParsePatternLine(piece));
  }
  return result;
}

PatternRows ReadPatternRows(const std::filesystem::path& path, std::size_t maxRows) {
  std::optional<std::ifstream> in = OpenPatternFile(path);
  if (!in) return {PatternRowsStatus::kOpenError, {}};
  return ReadPatternRows(*in, maxRows);
}

}  // namespace orvane::pattern
