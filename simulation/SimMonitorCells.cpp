#include "simulation/SimMonitorCells.h"

#include <algorithm>
#include <cstdio>
#include <ranges>

#include "pattern/HexScan.h"
#include "pattern/PatternRecord.h"

namespace orvane::simulation {

namespace {

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
}

std::uint8_t DefinedLength(const settings::IdentifierDefinition& identifiers,
                           std::uint8_t identifier) {
  return std::min(identifiers.dataLength[identifier % settings::kIdentifierCount],
                  settings::kMaxDataLength);
}

// The slot command of a pattern line's command on `identifier`.
std::uint8_t SlotCommandOf(pattern::PatternCommand command, std::uint8_t identifier) {
  const bool extended = identifier == kExtendedFrameIdLow || identifier == kExtendedFrameIdHigh;
  switch (command) {
    case pattern::PatternCommand::kTx:
      return extended ? kCommandExtendedTx : kCommandTx;
    case pattern::PatternCommand::kRx:
      return extended ? kCommandExtendedRx : kCommandRx;
    case pattern::PatternCommand::kSleep:
      return kCommandSleep;
    case pattern::PatternCommand::kWakeup:
      return kCommandWakeup;
  }
  return kCommandNone;
}

}  // namespace

FrameCells EntryFrameCells(const SimEntry& entry,
                           const settings::IdentifierDefinition& identifiers) {
  FrameCells cells;
  bool showData = false;
  switch (entry.kind >> 4) {
    case 0x0:
    case 0x4:
      cells.command = "Rx";
      break;
    case 0x1:
    case 0x5:
    case 0x6:
    case 0x7:
      cells.command = "Tx";
      showData = true;
      break;
    case 0x2:
      cells.command = "Sleep";
      showData = true;
      break;
    case 0x3:
      cells.command = "Wakeup";
      return cells;
    default:
      return cells;
  }
  cells.identifier = Hex2(entry.identifier);
  if (showData) {
    const std::uint8_t length = DefinedLength(identifiers, entry.identifier);
    for (std::uint8_t i = 0; i < length; ++i) cells.data[i] = Hex2(entry.data[i]);
  }
  return cells;
}

SimEntry PreviewNextRow(const SimEntry& entry, const KeyCursor& cursor, bool repeat,
                        std::span<const pattern::PatternRecord> rows, const PatternRules& rules,
                        bool patternEndReached) {
  SimEntry preview = entry;
  KeyCursor trial = cursor;
  ApplyNextRow(preview, trial, repeat, rows, rules, patternEndReached);
  return preview;
}

MasterCounterTexts CounterTextsOf(const monitor::MonitorBlockHeader& header) {
  const std::uint32_t success = header.successCount;
  const std::uint32_t request = header.requestCount;
  const std::uint16_t count = header.scheduleCount;
  return {std::to_string(static_cast<std::int32_t>(success)) + " / " +
              std::to_string(static_cast<std::int32_t>(request)),
          std::to_string(count)};
}

std::uint8_t ResponseChecksum(std::span<const std::uint8_t, kSlotDataSize> data,
                              std::uint8_t length) {
  unsigned sum = 0;
  for (std::uint8_t i = 0; i < std::min<std::uint8_t>(length, kSlotDataSize); ++i) sum += data[i];
  return static_cast<std::uint8_t>((255u - (sum % 256u) - (sum / 256u)) % 256u);
}

std::optional<bool> ApplyRunningFrameEdit(std::string_view text, SimSlot& slot, SimEntry& entry,
                                          const settings::IdentifierDefinition& identifiers) {
  const pattern::ParsedPatternLine parsed = pattern::ParsePatternLine(text);
  if (!parsed.ok) return std::nullopt;
  const auto command = static_cast<pattern::PatternCommand>(parsed.record.commandCode());

  SimSlot edited = slot;
  edited.command = SlotCommandOf(command, parsed.record.ident);
  edited.identifier = command == pattern::PatternCommand::kWakeup ? 0 : parsed.record.ident;
  std::ranges::fill(edited.data, 0);
  if (command == pattern::PatternCommand::kTx || command == pattern::PatternCommand::kSleep) {
    const std::uint8_t length =
        std::min(parsed.record.dataCount(), DefinedLength(identifiers, edited.identifier));
    std::copy_n(parsed.record.data.begin(), length, edited.data);
  }
  if (edited.command == slot.command && edited.identifier == slot.identifier &&
      std::ranges::equal(edited.data, slot.data)) {
    return false;
  }
  slot.command = edited.command;
  slot.identifier = edited.identifier;
  std::ranges::copy(edited.data, slot.data);
  entry.kind = CompileSlot(slot).kind;
  entry.identifier = slot.identifier;
  std::ranges::copy(slot.data, entry.data);
  entry.enable |= kEntryChanged;
  return true;
}

std::optional<std::array<std::uint8_t, kSlotDataSize>> ParseRunningData(
    std::string_view text, std::span<const std::uint8_t, kSlotDataSize> current) {
  std::array<std::uint8_t, kSlotDataSize> data;
  std::ranges::copy(current, data.begin());
  if (text.empty()) return data;
  // Comma-separated fields, found by hand: clang 14 cannot build
  // std::views::split of libstdc++ 12, and the fuzzing build uses clang.
  std::size_t index = 0;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (index == kSlotDataSize) return std::nullopt;
    const std::optional<std::uint32_t> value = pattern::ScanHex(text.substr(start, comma - start));
    if (!value) return std::nullopt;
    data[index++] = static_cast<std::uint8_t>(*value);
    start = comma + 1;
  }
  return data;
}

std::uint8_t SlaveErrorKind(std::uint8_t error) {
  SimSlot response = DefaultSlaveResponse();
  response.error = error;
  return CompileSlot(response).kind;
}

}  // namespace orvane::simulation
