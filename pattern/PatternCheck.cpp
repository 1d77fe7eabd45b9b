#include "pattern/PatternCheck.h"

#include <array>
#include <optional>

#include "pattern/HexScan.h"
#include "pattern/PatternLineReader.h"

namespace orvane::pattern {
namespace {

constexpr std::size_t kMaxFields = 10;
constexpr std::uint32_t kMaxIdentifier = 0x3F;
constexpr std::array<std::string_view, 4> kCommands{"Tx", "Rx", "Sleep", "Wakeup"};

bool IsCommand(std::string_view field) {
  for (std::string_view command : kCommands) {
    if (field == command) return true;
  }
  return false;
}

}  // namespace

std::string PatternCheckResult::message() const {
  switch (status) {
    case PatternCheckStatus::kAccepted:
      return {};
    case PatternCheckStatus::kOpenError:
      return "Pattern File Open Error.";
    case PatternCheckStatus::kFormatError:
      return "Pattern File Format Error.(line:" + std::to_string(line) + ")";
    case PatternCheckStatus::kNoData:
      return "Pattern File has no data.";
  }
  return {};
}

bool CheckPatternLine(std::string_view piece, PatternCheckVariant variant) {
  piece = piece.substr(0, piece.find('\n'));
  std::size_t fieldCount = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = piece.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? piece.size() : comma;
    const std::string_view field = piece.substr(start, end - start);
    if (++fieldCount > kMaxFields) return false;
    if (fieldCount == 1) {
      if (!IsCommand(field)) return false;
    } else {
      const std::optional<std::uint32_t> value = ScanHex(field);
      if (!value) return false;
      if (fieldCount == 2 && variant == PatternCheckVariant::kEditor && *value > kMaxIdentifier) {
        return false;
      }
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return variant == PatternCheckVariant::kSelect || fieldCount >= 2;
}

PatternCheckResult CheckPatternStream(std::istream& in, PatternCheckVariant variant) {
  PatternLineReader reader(in);
  std::string piece;
  std::size_t lineNumber = 0;
  while (reader.Next(piece)) {
    ++lineNumber;
    if (!CheckPatternLine(piece, variant)) {
      return {PatternCheckStatus::kFormatError, lineNumber, piece};
    }
  }
  if (lineNumber == 0) return {PatternCheckStatus::kNoData, 0, {}};
  return {};
}

PatternCheckResult CheckPatternFile(const std::filesystem::path& path,
                                    PatternCheckVariant variant) {
  std::optional<std::ifstream> in = OpenPatternFile(path);
  if (!in) return {PatternCheckStatus::kOpenError, 0, {}};
  return CheckPatternStream(*in, variant);
}

}  // namespace orvane::pattern
