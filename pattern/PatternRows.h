// Reading a whole pattern file into parsed records for a simulation.
//
// The master and slave simulations load the rows of every pattern-driven
// slot when a run is compiled and then decide themselves which rows suit
// a frame. Any thread may call these functions; they block on file I/O.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <vector>

#include "pattern/PatternRecord.h"

namespace orvane::pattern {

// Upper bound on the rows of one file (10 MB of records). A file with more
// lines is refused rather than exhausting memory; the simulation reports
// that as "Memory are not securable any more.".
inline constexpr std::size_t kMaxPatternRows = 1'000'000;

enum class PatternRowsStatus { kOk, kOpenError, kTooManyRows };

struct PatternRows {
  PatternRowsStatus status = PatternRowsStatus::kOk;
  // One entry per piece read (PatternLineReader), in file order, including
  // the lines that failed to parse (ok = false) so that callers can report them.
  std::vector<ParsedPatternLine> rows;
};

PatternRows ReadPatternRows(std::istream& in, std::size_t maxRows = kMaxPatternRows);
PatternRows ReadPatternRows(const std::filesystem::path& path,
                            std::size_t maxRows = kMaxPatternRows);

}  // namespace orvane::pattern
