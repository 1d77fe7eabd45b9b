#include "simulation/SlotRowRead.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

#include "pattern/HexScan.h"
#include "simulation/SlotNames.h"

namespace orvane::simulation {

namespace {

constexpr std::uint8_t kSleepIdentifier = 0x3C;

// A number the way "%d" reads it: leading blanks, a sign, digits; whatever
// follows is ignored. Values beyond 32 bits are held at the limits, so that
// an overlong number never passes for a small one.
std::optional<std::int32_t> ScanDecimal(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  if (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return std::nullopt;
  std::int64_t value = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    value = std::min<std::int64_t>(value * 10 + (text[at] - '0'),
                                   std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1);
  }
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A hexadecimal cell as one byte; values above 0xFF read as 0xFF, which no
// identifier check lets pass.
std::optional<std::uint8_t> ReadHexByte(std::string_view text) {
  const std::optional<std::uint32_t> value = pattern::ScanHex(text);
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(std::min<std::uint32_t>(*value, 0xFF));
}

std::string WithoutMilliseconds(std::string_view text) {
  constexpr std::string_view kUnit = "[ms]";
  std::string result(text);
  for (std::size_t at = result.find(kUnit); at != std::string::npos; at = result.find(kUnit)) {
    result.erase(at, kUnit.size());
  }
  return result;
}

// The "Timer/Key" cell: no trigger, a key, or a timer with its interval
// (nothing when the text is no number).
struct TriggerCell {
  std::uint8_t trigger = kTriggerNone;
  std::optional<std::int32_t> value;
};

TriggerCell ReadTriggerCell(std::string_view cell) {
  const std::string text = WithoutMilliseconds(cell);
  if (text.empty()) return {};
  if (const std::optional<std::int32_t> key = KeyCode(text)) return {kTriggerKey, key};
  return {kTriggerTimer, ScanDecimal(text)};
}

void SetTrigger(SimSlot& slot, const TriggerCell& cell) {
  slot.trigger = cell.trigger;
  if (cell.trigger != kTriggerNone) slot.triggerValue = cell.value.value_or(0);
}

std::uint8_t ErrorCode(std::string_view name) {
  const auto found = std::ranges::find(kErrorNames, name);
  return found == kErrorNames.end() ? 0 : static_cast<std::uint8_t>(found - kErrorNames.begin());
}

std::uint8_t CommandCode(std::string_view name) {
  if (name == "Sleep") return kCommandSleep;
  if (name == "Rx") return kCommandRx;
  if (name == "Tx") return kCommandTx;
  if (name == "Wakeup") return kCommandWakeup;
  if (name.empty()) return kCommandNone;
  return kCommandUnrecognised;
}

bool IsExtendedIdentifier(std::uint8_t identifier) {
  return identifier == kExtendedFrameIdLow || identifier == kExtendedFrameIdHigh;
}

// The cells every form reads alike: the three check cells of the pattern
// and one-time choices, "Error" and "File".
void ReadCommonCells(const SlotRow& row, SimSlot& slot) {
  slot.error = ErrorCode(row[kColumnError]);
  slot.oneTime = IsChecked(row[kColumnOneTime]) ? 1 : 0;
  slot.pattern = IsChecked(row[kColumnPattern]) ? 1 : 0;
  slot.repeatPattern = IsChecked(row[kColumnRepeat]) ? 1 : 0;
  if (row[kColumnFile].empty()) slot.patternPath[0] = '\0';
}

// "Command", "IDEN" and the data cells of a master row.
void ReadMasterFrame(const SlotRow& row, const settings::IdentifierDefinition& identifiers,
                     SimSlot& slot) {
  slot.command = CommandCode(row[kColumnCommand]);
  slot.identifier = slot.command == kCommandSleep ? kSleepIdentifier : 0;
  if (slot.command <= kCommandWakeup) {
    if (const std::optional<std::uint8_t> identifier = ReadHexByte(row[kColumnIdentifier])) {
      slot.identifier = *identifier;
    }
    if (IsExtendedIdentifier(slot.identifier)) {
      if (slot.command == kCommandTx) slot.command = kCommandExtendedTx;
      if (slot.command == kCommandRx) slot.command = kCommandExtendedRx;
    }
  }
  const std::uint8_t length = DefinedDataLength(identifiers, slot.identifier);
  for (std::size_t i = 0; i < length; ++i) {
    const std::string& cell = row[DataColumn(i)];
    if (cell != kExtendedDataCell) slot.data[i] = ReadHexByte(cell).value_or(0);
  }
}

SimSlot ReadMasterCells(const SlotRow& row, const SimSlot& stored,
                        const settings::IdentifierDefinition& identifiers) {
  SimSlot slot = stored;
  slot.enable = IsChecked(row[kColumnEnable]) ? 1 : 0;
  slot.delay = ScanDecimal(row[kColumnDelay]).value_or(-1);
  ReadMasterFrame(row, identifiers, slot);
  ReadCommonCells(row, slot);
  return slot;
}

}  // namespace

std::optional<SimSlot> ReadMasterRow(const SlotRow& row, const SimSlot& stored,
                                     const settings::IdentifierDefinition& identifiers) {
  const TriggerCell trigger = ReadTriggerCell(row[kColumnTrigger]);
  if (trigger.trigger == kTriggerTimer && !trigger.value) return std::nullopt;
  SimSlot slot = ReadMasterCells(row, stored, identifiers);
  SetTrigger(slot, trigger);
  return slot;
}

std::optional<SimSlot> ReadInterruptRow(const SlotRow& row, const SimSlot& stored,
                                        const settings::IdentifierDefinition& identifiers) {
  const TriggerCell trigger = ReadTriggerCell(row[kColumnTrigger]);
  if (trigger.trigger == kTriggerTimer) return std::nullopt;
  SimSlot slot = ReadMasterCells(row, stored, identifiers);
  slot.enable = stored.enable;
  slot.delay = stored.delay;
  SetTrigger(slot, trigger);
  return slot;
}

SimSlot ReadSlaveRow(const SlotRow& row, const SimSlot& stored) {
  SimSlot slot = stored;
  slot.enable = IsChecked(row[kColumnEnable]) ? 1 : 0;
  slot.identifier = ReadHexByte(row[kColumnIdentifier]).value_or(kNoSlaveIdentifier);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    slot.data[i] = ReadHexByte(row[DataColumn(i)]).value_or(0);
  }
  ReadCommonCells(row, slot);
  SetTrigger(slot, ReadTriggerCell(row[kColumnTrigger]));
  return slot;
}

std::optional<SimSlot> ReadGridRow(GridMode mode, const SlotRow& row, const SimSlot& stored,
                                   const settings::IdentifierDefinition& identifiers) {
  if (mode == GridMode::kSlave) return ReadSlaveRow(row, stored);
  return ReadMasterRow(row, stored, identifiers);
}

}  // namespace orvane::simulation
