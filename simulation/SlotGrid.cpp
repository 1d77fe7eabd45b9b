#include "simulation/SlotGrid.h"

#include <algorithm>
#include <cstdio>

#include "settings/FixedText.h"
#include "simulation/SlotNames.h"

namespace orvane::simulation {

namespace {

constexpr std::array<std::string_view, kSlotDataSize> kDataTitles = {"D0", "D1", "D2", "D3",
                                                                     "D4", "D5", "D6", "D7"};

// What sets the modes apart: the leading columns they show, three widths
// and the title of the trigger column.
struct ModeShape {
  bool number;
  bool enable;
  bool delay;
  bool command;
  int commandWidth;
  int identifierWidth;
  int errorWidth;
  std::string_view triggerTitle;
};

struct ModeLayout {
  std::array<ColumnLayout, kColumnCount> columns{};
  std::size_t count = 0;
};

constexpr ModeLayout BuildLayout(const ModeShape& shape) {
  ModeLayout layout;
  auto add = [&layout](GridColumn column, std::string_view title, CellKind kind, int width) {
    layout.columns[layout.count++] = {column, title, kind, width};
  };
  if (shape.number) add(kColumnNumber, "No.", CellKind::kFixedText, 30);
  if (shape.enable) add(kColumnEnable, "Ena", CellKind::kCheck, 30);
  if (shape.delay) add(kColumnDelay, "Delay", CellKind::kDecimal, 43);
  if (shape.command) add(kColumnCommand, "Command", CellKind::kDropDown, shape.commandWidth);
  add(kColumnIdentifier, "IDEN", CellKind::kHex, shape.identifierWidth);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    add(DataColumn(i), kDataTitles[i], CellKind::kHex, 26);
  }
  add(kColumnError, "Error", CellKind::kDropDown, shape.errorWidth);
  add(kColumnOneTime, "1Time", CellKind::kCheck, 42);
  add(kColumnPattern, "Pat", CellKind::kCheck, 30);
  add(kColumnRepeat, "Rep", CellKind::kCheck, 30);
  add(kColumnTrigger, shape.triggerTitle, CellKind::kTriggerKey, 67);
  add(kColumnFile, "File", CellKind::kFixedText, 60);
  return layout;
}

constexpr std::array<ModeLayout, 5> kLayouts = {
    BuildLayout({true, true, true, true, 58, 36, 57, "Timer/Key"}),    // setup schedule list
    BuildLayout({false, false, false, true, 58, 36, 57, "Key"}),       // setup interrupt row
    BuildLayout({true, false, true, true, 63, 38, 42, "Timer/Key"}),   // monitor schedule list
    BuildLayout({false, false, false, true, 63, 38, 42, "Key"}),       // monitor interrupt row
    BuildLayout({true, true, false, false, 58, 36, 57, "Timer/Key"}),  // slave list
};
static_assert(kLayouts[0].count == 19 && kLayouts[1].count == 16 && kLayouts[2].count == 18 &&
              kLayouts[3].count == 16 && kLayouts[4].count == 17);

bool ShowsData(std::uint8_t command) {
  return command == kCommandTx || command == kCommandSleep || command == kCommandExtendedTx;
}

void ShowMasterFrame(const SimSlot& slot, const settings::IdentifierDefinition& identifiers,
                     SlotRow& row) {
  if (slot.command >= kCommandNames.size()) return;
  row[kColumnCommand] = kCommandNames[slot.command];
  if (slot.command == kCommandWakeup) return;
  row[kColumnIdentifier] = HexCell(slot.identifier);
  if (!ShowsData(slot.command)) return;
  const std::uint8_t length = DefinedDataLength(identifiers, slot.identifier);
  for (std::size_t i = 0; i < length; ++i) row[DataColumn(i)] = HexCell(slot.data[i]);
}

void ShowSlaveFrame(const SimSlot& slot, SlotRow& row) {
  row[kColumnIdentifier] = HexCell(slot.identifier);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) row[DataColumn(i)] = HexCell(slot.data[i]);
}

}  // namespace

std::span<const ColumnLayout> GridColumns(GridMode mode) {
  const ModeLayout& layout = kLayouts.at(static_cast<std::size_t>(mode));
  return {layout.columns.data(), layout.count};
}

const ColumnLayout* FindColumn(GridMode mode, GridColumn column) {
  for (const ColumnLayout& layout : GridColumns(mode)) {
    if (layout.column == column) return &layout;
  }
  return nullptr;
}

CellKind KindOf(GridColumn column) {
  return FindColumn(GridMode::kSetupSchedule, column)->kind;
}

bool IsChecked(std::string_view cell) {
  return cell == kChecked;
}

std::string_view CheckText(bool checked) {
  return checked ? kChecked : kUnchecked;
}

std::string HexCell(unsigned value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
}

std::string_view FileCellText(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::uint8_t DefinedDataLength(const settings::IdentifierDefinition& identifiers,
                               std::uint8_t identifier) {
  if (identifier >= settings::kIdentifierCount) return 0;
  return std::min(identifiers.dataLength[identifier], settings::kMaxDataLength);
}

SlotRow FreshRow(GridMode mode, std::size_t rowNumber) {
  SlotRow row;
  for (const ColumnLayout& layout : GridColumns(mode)) {
    if (layout.kind == CellKind::kCheck) row[layout.column] = kUnchecked;
  }
  if (FindColumn(mode, kColumnNumber) != nullptr) row[kColumnNumber] = std::to_string(rowNumber);
  return row;
}

SlotRow ShowSlot(const SimSlot& slot, GridMode mode,
                 const settings::IdentifierDefinition& identifiers, std::size_t rowNumber) {
  SlotRow row = FreshRow(mode, rowNumber);
  if (mode == GridMode::kSlave) {
    ShowSlaveFrame(slot, row);
  } else {
    ShowMasterFrame(slot, identifiers, row);
  }
  if (FindColumn(mode, kColumnEnable) != nullptr) row[kColumnEnable] = CheckText(slot.enable == 1);
  if (FindColumn(mode, kColumnDelay) != nullptr && slot.delay != -1) {
    row[kColumnDelay] = std::to_string(slot.delay);
  }
  if (slot.error != 0 && slot.error < kErrorNames.size())
    row[kColumnError] = kErrorNames[slot.error];
  row[kColumnOneTime] = CheckText(slot.oneTime == 1);
  row[kColumnPattern] = CheckText(slot.pattern == 1);
  row[kColumnRepeat] = CheckText(slot.repeatPattern == 1);
  row[kColumnTrigger] = TriggerText(slot);
  row[kColumnFile] = FileCellText(settings::FieldText(slot.patternPath));
  return row;
}

void ShowDataCells(SlotRow& row, std::uint8_t length) {
  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    std::string& cell = row[DataColumn(i)];
    if (i >= length) {
      cell.clear();
    } else if (cell.empty()) {
      cell = "00";
    }
  }
}

}  // namespace orvane::simulation
