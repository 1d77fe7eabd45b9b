// The editing grid of the simulation windows as text: its five modes, the
// columns each mode shows (title, kind of cell, initial width in pixels),
// and a slot shown as the text cells of one row.
//
// A row is held as text, as the windows show it; the slot behind a row is
// read back from its cells (SlotRowRead.h) when the row is stored. Pure
// functions; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/IdentifierDefinition.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

enum class GridMode {
  kSetupSchedule = 0,     // schedule list of the master setup
  kSetupInterrupt = 1,    // interrupt row of the master setup
  kMonitorSchedule = 2,   // schedule list of the master monitor
  kMonitorInterrupt = 3,  // interrupt row of the master monitor
  kSlave = 4,             // slave responses of the slave setup
};

// Every column any mode shows; a mode shows a subset in this order.
enum GridColumn : unsigned {
  kColumnNumber,
  kColumnEnable,
  kColumnDelay,
  kColumnCommand,
  kColumnIdentifier,
  kColumnData0,
  kColumnData7 = kColumnData0 + kSlotDataSize - 1,
  kColumnError,
  kColumnOneTime,
  kColumnPattern,
  kColumnRepeat,
  kColumnTrigger,  // "Timer/Key", "Key" in the interrupt lists
  kColumnFile,
  kColumnCount
};

constexpr GridColumn DataColumn(std::size_t index) {
  return static_cast<GridColumn>(kColumnData0 + index);
}
constexpr bool IsDataColumn(GridColumn column) {
  return column >= kColumnData0 && column <= kColumnData7;
}

enum class CellKind {
  kFixedText,   // "No.", "File"
  kCheck,       // "CHECKED"/"UNCHECKED", toggled by a click
  kDecimal,     // "Delay"
  kDropDown,    // "Command", "Error"
  kHex,         // "IDEN", "D0"-"D7": two hexadecimal digits
  kTriggerKey,  // "Timer/Key" / "Key": an interval or a key name
};

struct ColumnLayout {
  GridColumn column;
  std::string_view title;
  CellKind kind;
  int width;  // initial width in pixels
};

// The columns of a mode, left to right.
std::span<const ColumnLayout> GridColumns(GridMode mode);
// The layout of `column` in `mode`, or null when the mode does not show it.
const ColumnLayout* FindColumn(GridMode mode, GridColumn column);
// The kind of a column (the same in every mode that shows it).
CellKind KindOf(GridColumn column);

inline constexpr std::string_view kChecked = "CHECKED";
inline constexpr std::string_view kUnchecked = "UNCHECKED";
// Data cells of a slot bound to an extended frame file.
inline constexpr std::string_view kExtendedDataCell = "-";

// The text cells of one row, indexed by GridColumn; cells of columns the
// mode does not show stay empty.
struct SlotRow {
  std::array<std::string, kColumnCount> cells;

  std::string& operator[](GridColumn column) { return cells[column]; }
  const std::string& operator[](GridColumn column) const { return cells[column]; }
  friend bool operator==(const SlotRow&, const SlotRow&) = default;
};

bool IsChecked(std::string_view cell);
std::string_view CheckText(bool checked);
// "%02x" of the low byte.
std::string HexCell(unsigned value);
// The name of a path after its last '\\' or '/'.
std::string_view FileCellText(std::string_view path);

// The defined data length of an identifier (at most 8); 0 for a value that
// is no identifier (above 0x3F).
std::uint8_t DefinedDataLength(const settings::IdentifierDefinition& identifiers,
                               std::uint8_t identifier);

// An empty row: "No." numbered "%d" and "UNCHECKED" in the check cells the
// mode shows.
SlotRow FreshRow(GridMode mode, std::size_t rowNumber);

// A slot shown in a row of `mode`:
//  master lists: "Delay" "%d" (empty for -1); "Command" its name (empty for
//  none); "IDEN" "%02x" (empty for none and Wakeup); the data "%02x" for
//  the identifier's defined length on Tx, Sleep and extended Tx;
//  slave list: "IDEN" and all of D0-D7 "%02x";
//  both: the check cells, "Error" its name (empty for none), "Timer/Key" as
//  TriggerText, "File" the name of the pattern path, "No." "%d" of
//  `rowNumber`.
SlotRow ShowSlot(const SimSlot& slot, GridMode mode,
                 const settings::IdentifierDefinition& identifiers, std::size_t rowNumber);

// Rewrites the data cells for `length` bytes: cells below it keep their
// text or become "00" when empty; the others are emptied.
void ShowDataCells(SlotRow& row, std::uint8_t length);

}  // namespace orvane::simulation
