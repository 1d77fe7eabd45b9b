#include "pattern/PatternRecord.h"

#include <algorithm>
#include <optional>

#include "pattern/HexScan.h"

namespace orvane::pattern {
namespace {

constexpr std::size_t kMaxParsedCharacters = 64;
constexpr std::size_t kLastDataField = 9;

struct CommandWord {
  std::string_view capitalised;
  std::string_view small;
  PatternCommand command;
};

constexpr std::array<CommandWord, 4> kCommandWords{{
    {"Rx", "rx", PatternCommand::kRx},
    {"Tx", "tx", PatternCommand::kTx},
    {"Sleep", "sleep", PatternCommand::kSleep},
    {"Wakeup", "wakeup", PatternCommand::kWakeup},
}};

std::optional<PatternCommand> CommandOf(std::string_view field) {
  for (const CommandWord& word : kCommandWords) {
    if (field.starts_with(word.capitalised) || field.starts_with(word.small)) return word.command;
  }
  return std::nullopt;
}

// Stores one field into the record; false when it cannot be read.
bool ParseField(std::size_t index, std::string_view field, PatternRecord& record,
                std::uint8_t& dataCount) {
  if (index == 0) {
    const std::optional<PatternCommand> command = CommandOf(field);
    if (!command) return false;
    record.head = static_cast<std::uint8_t>(static_cast<std::uint8_t>(*command) << 4);
    return true;
  }
  const std::optional<std::uint32_t> value = ScanHex(field);
  if (index == 1) {
    if (!value || *value >= 0x40) return false;
    record.ident = static_cast<std::uint8_t>(*value);
    return true;
  }
  if (index > kLastDataField) return true;
  if (!value) return false;
  record.data[dataCount++] = static_cast<std::uint8_t>(*value & 0xFF);
  return true;
}

}  // namespace

ParsedPatternLine ParsePatternLine(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxParsedCharacters));
  text = text.substr(0, std::min(text.size(), text.find('\n')));

  ParsedPatternLine result;
  std::uint8_t dataCount = 0;
  bool ok = true;
  std::size_t index = 0;
  std::size_t start = 0;
  while (ok) {
    const std::size_t comma = text.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
    ok = ParseField(index, text.substr(start, end - start), result.record, dataCount);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
    ++index;
  }
  result.record.head = static_cast<std::uint8_t>(result.record.head | dataCount);
  result.ok = ok;
  return result;
}

}  // namespace orvane::pattern
