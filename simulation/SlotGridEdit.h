// How the cells of a grid row are edited: which cells a row lets the user
// edit, what the drop-downs offer, the checks a typed text must pass before
// its editor closes, ticking a check cell, and what an accepted edit does
// to the other cells of its row. The texts are the ones the grid shows in
// its message boxes. Pure functions; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IdentifierDefinition.h"
#include "simulation/SlotGrid.h"

namespace orvane::simulation {

inline constexpr std::string_view kPatternDefinedText =
    "Frame setting can not be changed, if pattern is defined.";
inline constexpr std::string_view kEnableRefusedCaption = "Parameter Error";
inline constexpr std::string_view kEnableRefusedText =
    "Please input Command, or Delay value in the range of 1-65535.";

enum class EditAccess {
  kEditable,
  kNotEditable,     // the cell has no editor in this row: nothing happens
  kPatternDefined,  // refused with kPatternDefinedText (title "Error")
};

// Whether a double click on `column` may open an editor in `row`:
//  fixed text and check cells never; "Wakeup" rows only "Delay" and
//  "Timer/Key"; "Sleep" rows only D1-D7 and "Delay"; "Rx" rows no data
//  cells; "-" data cells never; "Command" on any row; in the master lists a
//  row whose "Pat" is on and that has a file only "Delay" and "Timer/Key",
//  any other edit being refused. Slave rows take their data from the
//  pattern preview, so the pattern does not lock them.
EditAccess CellEditAccess(GridMode mode, const SlotRow& row, GridColumn column);

// The items a drop-down offers: "Command" "Tx", "Rx", "Sleep", "Wakeup",
// only "Tx" while an error is chosen; "Error" the seven error names while
// the command is "Tx", else only "(None)"; in the slave list "(None)",
// "CheckSum", "ShortMsg".
std::vector<std::string_view> DropDownChoices(GridMode mode, const SlotRow& row, GridColumn column);

// The most characters an editor of `column` takes.
std::size_t EditLengthLimit(GridColumn column);

// A typed text checked as its editor closes: either the error to show
// (title "Error"; the editor stays open) or the text the cell takes.
struct EditCheck {
  std::string error;
  std::string text;
};
// Too long: "You can't input more than %d characters."; "Delay": a decimal
// 1-65535, shown "%d"; "Timer/Key": a key name, shown as KeyName, or a
// decimal 50-10000, shown "%d[ms]"; hexadecimal cells: hexadecimal digits
// only, shown "%02x" (a one-digit value gets two digits; empty stays
// empty).
EditCheck CheckEditedText(GridColumn column, std::string_view typed);

// What the editor of a line edit cell starts with: the cell without "[ms]".
std::string EditorStartText(std::string_view cell);

// A click on a check cell toggles it. Ticking "Ena" is refused (the cell
// stays "UNCHECKED") on a master row whose "Delay" or "Command" is empty
// (with kEnableRefusedText, title kEnableRefusedCaption) and, silently, on a
// slave row whose "IDEN" is empty.
enum class TickOutcome { kToggled, kRefused, kRefusedSilently };
TickOutcome ToggleCheckCell(GridMode mode, SlotRow& row, GridColumn column);

// Puts an accepted text (from CheckEditedText or a drop-down item) into its
// cell and carries out what it means for the row: "Wakeup" clears the
// frame cells; "Sleep" shows identifier "3c" with zero data; "Tx" or "Rx"
// on a row that held no Tx or Rx shows identifier "10" with zero data; "Rx"
// empties the data; a new "IDEN" on a Tx row shows the data for the new
// identifier's length (new bytes "00"); "(None)" shows an empty "Error".
void ApplyCellEdit(SlotRow& row, GridColumn column, std::string_view text,
                   const settings::IdentifierDefinition& identifiers);

}  // namespace orvane::simulation
