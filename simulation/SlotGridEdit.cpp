#include "simulation/SlotGridEdit.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "pattern/HexScan.h"
#include "simulation/SlotNames.h"

namespace orvane::simulation {

namespace {

constexpr std::size_t kHexLimit = 2;
constexpr std::size_t kDecimalLimit = 5;  // "65535", "10000", "SPACE"
constexpr std::int32_t kMinDelay = 1;
constexpr std::int32_t kMaxDelay = 65535;
constexpr std::int32_t kMinInterval = 50;
constexpr std::int32_t kMaxInterval = 10000;
constexpr std::uint8_t kSleepIdentifier = 0x3C;
constexpr std::uint8_t kNewFrameIdentifier = 0x10;

constexpr std::string_view kDelayText = "Please input delay value in the range of 1-65535.";
constexpr std::string_view kIntervalText =
    "Please input interval value[50-10000], or character of a key.";
constexpr std::string_view kHexText = "Please input correct value by the hexadecimal digit.";

// A text of decimal digits only (at most kDecimalLimit of them).
std::optional<std::int32_t> DigitsValue(std::string_view text) {
  if (text.empty() || text.size() > kDecimalLimit) return std::nullopt;
  std::int32_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool AllHexDigits(std::string_view text) {
  return std::ranges::all_of(text,
                             [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool ErrorChosen(const SlotRow& row) {
  return !row[kColumnError].empty() && row[kColumnError] != kErrorNames[0];
}

// The defined data length of the identifier an "IDEN" cell names (an empty
// or unreadable cell stands for identifier 0, as the row reads it back).
std::uint8_t LengthOfIdentifierCell(const SlotRow& row,
                                    const settings::IdentifierDefinition& identifiers) {
  const std::uint32_t identifier = pattern::ScanHex(row[kColumnIdentifier]).value_or(0);
  return DefinedDataLength(identifiers,
                           static_cast<std::uint8_t>(std::min<std::uint32_t>(identifier, 0xFF)));
}

void ClearDataCells(SlotRow& row) {
  ShowDataCells(row, 0);
}

void ApplyCommandEdit(SlotRow& row, std::string_view command,
                      const settings::IdentifierDefinition& identifiers) {
  const std::string previous = row[kColumnCommand];
  row[kColumnCommand] = command;
  if (previous == command) return;
  if (command == "Wakeup") {
    row[kColumnIdentifier].clear();
    row[kColumnError].clear();
    ClearDataCells(row);
    return;
  }
  if (command == "Sleep") {
    row[kColumnIdentifier] = HexCell(kSleepIdentifier);
    ClearDataCells(row);
    ShowDataCells(row, DefinedDataLength(identifiers, kSleepIdentifier));
    return;
  }
  if (previous != "Tx" && previous != "Rx") {
    row[kColumnIdentifier] = HexCell(kNewFrameIdentifier);
    ClearDataCells(row);
  }
  if (command == "Rx") {
    ClearDataCells(row);
  } else {
    ShowDataCells(row, LengthOfIdentifierCell(row, identifiers));
  }
}

}  // namespace

EditAccess CellEditAccess(GridMode mode, const SlotRow& row, GridColumn column) {
  const ColumnLayout* layout = FindColumn(mode, column);
  if (layout == nullptr || layout->kind == CellKind::kFixedText ||
      layout->kind == CellKind::kCheck) {
    return EditAccess::kNotEditable;
  }
  const bool data = IsDataColumn(column);
  const bool timing = column == kColumnDelay || column == kColumnTrigger;
  const std::string& command = row[kColumnCommand];
  if (column != kColumnCommand) {
    if (command == "Wakeup" && !timing) return EditAccess::kNotEditable;
    if (command == "Sleep" && column != kColumnDelay && (!data || column == kColumnData0)) {
      return EditAccess::kNotEditable;
    }
    if (command == "Rx" && data) return EditAccess::kNotEditable;
  }
  if (data && row[column] == kExtendedDataCell) return EditAccess::kNotEditable;
  const bool patternDefined = IsChecked(row[kColumnPattern]) && !row[kColumnFile].empty();
  if (mode != GridMode::kSlave && patternDefined && !timing) return EditAccess::kPatternDefined;
  return EditAccess::kEditable;
}

std::vector<std::string_view> DropDownChoices(GridMode mode, const SlotRow& row,
                                              GridColumn column) {
  if (column == kColumnCommand) {
    if (ErrorChosen(row)) return {"Tx"};
    return {"Tx", "Rx", "Sleep", "Wakeup"};
  }
  if (column != kColumnError) return {};
  if (mode == GridMode::kSlave) return {kErrorNames[0], kErrorNames[2], kErrorNames[3]};
  if (row[kColumnCommand] == "Tx") return {kErrorNames.begin(), kErrorNames.end()};
  return {kErrorNames[0]};
}

std::size_t EditLengthLimit(GridColumn column) {
  return KindOf(column) == CellKind::kHex ? kHexLimit : kDecimalLimit;
}

EditCheck CheckEditedText(GridColumn column, std::string_view typed) {
  const std::size_t limit = EditLengthLimit(column);
  if (typed.size() > limit) {
    return {"You can't input more than " + std::to_string(limit) + " characters.", ""};
  }
  switch (KindOf(column)) {
    case CellKind::kDecimal: {
      const std::optional<std::int32_t> delay = DigitsValue(typed);
      if (!delay || *delay < kMinDelay || *delay > kMaxDelay) return {std::string(kDelayText), ""};
      return {"", std::to_string(*delay)};
    }
    case CellKind::kTriggerKey: {
      if (const std::optional<std::int32_t> key = KeyCode(Upper(typed))) return {"", KeyName(*key)};
      const std::optional<std::int32_t> interval = DigitsValue(typed);
      if (!interval || *interval < kMinInterval || *interval > kMaxInterval) {
        return {std::string(kIntervalText), ""};
      }
      return {"", std::to_string(*interval) + "[ms]"};
    }
    case CellKind::kHex:
      if (!AllHexDigits(typed)) return {std::string(kHexText), ""};
      if (typed.empty()) return {};
      return {"", HexCell(pattern::ScanHex(typed).value_or(0))};
    default:
      return {"", std::string(typed)};
  }
}

std::string EditorStartText(std::string_view cell) {
  constexpr std::string_view kUnit = "[ms]";
  std::string text(cell);
  if (text.ends_with(kUnit)) text.resize(text.size() - kUnit.size());
  return text;
}

TickOutcome ToggleCheckCell(GridMode mode, SlotRow& row, GridColumn column) {
  std::string& cell = row[column];
  if (IsChecked(cell)) {
    cell = kUnchecked;
    return TickOutcome::kToggled;
  }
  if (column == kColumnEnable) {
    if (mode == GridMode::kSlave) {
      if (row[kColumnIdentifier].empty()) return TickOutcome::kRefusedSilently;
    } else if (row[kColumnDelay].empty() || row[kColumnCommand].empty()) {
      return TickOutcome::kRefused;
    }
  }
  cell = kChecked;
  return TickOutcome::kToggled;
}

void ApplyCellEdit(SlotRow& row, GridColumn column, std::string_view text,
                   const settings::IdentifierDefinition& identifiers) {
  switch (column) {
    case kColumnCommand:
      ApplyCommandEdit(row, text, identifiers);
      return;
    case kColumnIdentifier:
      row[kColumnIdentifier] = text;
      if (row[kColumnCommand] == "Tx") ShowDataCells(row, LengthOfIdentifierCell(row, identifiers));
      return;
    case kColumnError:
      row[kColumnError] = text == kErrorNames[0] ? std::string_view{} : text;
      return;
    default:
      row[column] = text;
  }
}

}  // namespace orvane::simulation
