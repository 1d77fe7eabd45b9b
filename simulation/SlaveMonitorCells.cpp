#include "simulation/SlaveMonitorCells.h"

#include <algorithm>
#include <span>

#include "settings/FixedText.h"
#include "simulation/SimMonitorCells.h"
#include "simulation/SlotGrid.h"
#include "simulation/SlotNames.h"

namespace orvane::simulation {

namespace {

constexpr std::uint8_t kNoIdentifierBit = 0x40;
constexpr std::array<std::uint8_t, 3> kSlaveErrors = {0, 2, 3};  // (None), CheckSum, ShortMsg

bool HasIdentifier(std::uint8_t identifier) {
  return (identifier & kNoIdentifierBit) == 0;
}

// D0 to D(d-1) and "Sum" of `data` on `identifier`; the other data cells empty.
void ShowData(SlaveMonitorRow& row, std::uint8_t identifier,
              std::span<const std::uint8_t, kSlotDataSize> data,
              const settings::IdentifierDefinition& identifiers) {
  const std::uint8_t length = DefinedDataLength(identifiers, identifier);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    row[kSlaveColumnData0 + i] = i < length ? HexCell(data[i]) : std::string();
  }
  row[kSlaveColumnSum] = HexCell(ResponseChecksum(data, length));
}

}  // namespace

SlaveMonitorRow SlaveMonitorCells(const SimSlot& response,
                                  const settings::IdentifierDefinition& identifiers) {
  SlaveMonitorRow row;
  if (response.error != 0 && response.error < kErrorNames.size()) {
    row[kSlaveColumnError] = kErrorNames[response.error];
  }
  if (HasIdentifier(response.identifier)) {
    row[kSlaveColumnIdentifier] = HexCell(response.identifier);
    ShowData(row, response.identifier, response.data, identifiers);
  }
  row[kSlaveColumnTrigger] = TriggerText(response);
  row[kSlaveColumnFile] = FileCellText(settings::FieldText(response.patternPath));
  return row;
}

void ShowEntryData(SlaveMonitorRow& row, const SimEntry& entry,
                   const settings::IdentifierDefinition& identifiers) {
  if (!HasIdentifier(entry.identifier) || row[kSlaveColumnIdentifier].empty()) return;
  ShowData(row, entry.identifier, entry.data, identifiers);
}

std::string RunningDataText(const SlaveMonitorRow& row) {
  std::string text;
  for (unsigned column = kSlaveColumnData0; column <= kSlaveColumnData7; ++column) {
    if (row[column].empty()) continue;
    if (!text.empty()) text += ',';
    text += row[column];
  }
  return text;
}

std::optional<std::uint8_t> SlaveErrorCode(std::string_view name) {
  for (const std::uint8_t error : kSlaveErrors) {
    if (kErrorNames[error] == name) return error;
  }
  return std::nullopt;
}

void CopyResponseFrame(const SimSlot& response, SimEntry& entry) {
  entry.identifier = response.identifier;
  std::ranges::copy(response.data, entry.data);
}

bool StoreStoppedData(SimSlot& response, SimEntry& entry, std::size_t index, std::uint8_t value) {
  if (index >= kSlotDataSize || response.data[index] == value) return false;
  response.data[index] = value;
  entry = CompileSlot(response);
  entry.enable = kEntryEnabled;
  entry.kind = kKindTx;
  return true;
}

std::optional<bool> StoreRunningData(std::string_view text, SimSlot& response, SimEntry& entry) {
  const std::optional<std::array<std::uint8_t, kSlotDataSize>> data =
      ParseRunningData(text, entry.data);
  if (!data) return std::nullopt;
  const bool changed = !std::ranges::equal(*data, entry.data);
  std::ranges::copy(*data, entry.data);
  std::ranges::copy(*data, response.data);
  // The download after the tick clears the marker of enabled entries only.
  if (changed && (entry.enable & kEntryEnabled) != 0) entry.enable |= kEntryChanged;
  return changed;
}

void StoreRunningError(SimSlot& response, SimEntry& entry, std::uint8_t error) {
  entry.kind = SlaveErrorKind(error);
  response.error = error;
}

}  // namespace orvane::simulation
