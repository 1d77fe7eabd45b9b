#include "simulation/SlaveSetupRows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "pattern/HexScan.h"
#include "pattern/PatternLineReader.h"
#include "pattern/PatternRecord.h"
#include "settings/FixedText.h"
#include "simulation/SlotRowRead.h"
#include "simulation/SlotValidation.h"

namespace orvane::simulation {

namespace {

constexpr std::size_t kMasterIdDigits = 2;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The identifier in a row's "IDEN", when it holds one.
std::optional<std::uint8_t> RowIdentifier(const SlotRow& row) {
  const std::optional<std::uint32_t> value = pattern::ScanHex(row[kColumnIdentifier]);
  if (!value || *value >= settings::kIdentifierCount) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

// The first parsed line of the file for `identifier` that suits its length.
std::optional<pattern::PatternRecord> FirstSuitableRow(const SimSlot& stored,
                                                       std::uint8_t identifier,
                                                       const PatternRules& rules) {
  std::optional<std::ifstream> file =
      pattern::OpenPatternFile(std::filesystem::path(settings::FieldText(stored.patternPath)));
  if (!file) return std::nullopt;
  pattern::PatternLineReader reader(*file);
  std::string piece;
  while (reader.Next(piece)) {
    const pattern::ParsedPatternLine line = pattern::ParsePatternLine(piece);
    if (line.ok && line.record.ident == identifier && RowSuits(line.record, rules)) {
      return line.record;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string MasterIdText(std::int32_t masterId) {
  char text[16];
  std::snprintf(text, sizeof text, "%02x", static_cast<unsigned>(masterId));
  return text;
}

std::optional<std::int32_t> ParseMasterId(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  std::int32_t value = 0;
  std::size_t digits = 0;
  for (; digits < kMasterIdDigits && at + digits < text.size(); ++digits) {
    const int digit = HexDigitValue(text[at + digits]);
    if (digit < 0) break;
    value = value * 16 + digit;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

std::optional<SlaveSetupFailure> StoreSlaveSetup(const SlotGridRows& rows,
                                                 std::string_view masterIdText,
                                                 SlaveResponses& responses,
                                                 std::int32_t& masterId) {
  if (const std::optional<std::int32_t> entered = ParseMasterId(masterIdText)) masterId = *entered;

  std::optional<SlaveSetupFailure> failure;
  const std::size_t count = std::min(rows.size(), responses.size());
  for (std::size_t row = 0; row < count; ++row) {
    responses[row] = ReadSlaveRow(rows.cells(row), rows.stored(row));
    if (failure) continue;
    std::string text = ValidateSlaveRow(responses[row], masterId);
    if (!text.empty()) failure = SlaveSetupFailure{row, std::move(text)};
  }
  if (failure) return failure;
  if (const std::optional<std::size_t> repeated = FindDuplicateSlaveIdentifier(responses)) {
    return SlaveSetupFailure{*repeated, {}};
  }
  return std::nullopt;
}

bool PreviewSlavePattern(SlotRow& row, const SimSlot& stored, const PatternRules& rules) {
  const std::optional<std::uint8_t> identifier = RowIdentifier(row);
  if (!identifier) return false;
  const std::optional<pattern::PatternRecord> found = FirstSuitableRow(stored, *identifier, rules);
  if (!found) return false;
  const std::uint8_t length = DefinedDataLength(rules.identifiers, *identifier);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    row[DataColumn(i)] = i < length ? HexCell(found->data[i]) : std::string();
  }
  return true;
}

}  // namespace orvane::simulation
