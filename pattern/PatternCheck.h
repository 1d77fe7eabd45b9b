// The two checks a pattern file must pass before the program accepts it.
//
// The select check runs when a pattern file is chosen for a simulation
// slot; the editor check, stricter about the identifier, runs before the
// pattern editor saves. Both read the file with PatternLineReader and stop
// at the first line that fails. Callers show the message in a box titled
// "Error"; the checks never change the file. Any thread may call them;
// they block on reading the file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace orvane::pattern {

enum class PatternCheckVariant {
  kSelect,
  // Also requires field 1 with an identifier of at most 0x3F.
  kEditor,
};

enum class PatternCheckStatus { kAccepted, kOpenError, kFormatError, kNoData };

struct PatternCheckResult {
  PatternCheckStatus status = PatternCheckStatus::kAccepted;
  // 1-based number of the failing line (piece) for kFormatError, else 0.
  std::size_t line = 0;
  // The failing piece as read, for kFormatError.
  std::string lineText;

  bool accepted() const { return status == PatternCheckStatus::kAccepted; }
  // "Pattern File Open Error.", "Pattern File Format Error.(line:N)",
  // "Pattern File has no data.", or empty when accepted.
  std::string message() const;
};

// Checks one piece as read by PatternLineReader. Fields end at "," or at the
// line feed; the last line of a file may also end without one, and its last
// field is checked all the same.
bool CheckPatternLine(std::string_view piece, PatternCheckVariant variant);

PatternCheckResult CheckPatternStream(std::istream& in, PatternCheckVariant variant);
PatternCheckResult CheckPatternFile(const std::filesystem::path& path, PatternCheckVariant variant);

}  // namespace orvane::pattern
