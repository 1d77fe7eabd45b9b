// The clipboard of the editing grids: one slot copied or cut from a row,
// and the grid clicked last, which Cut, Copy, the two Pastes and Delete act
// on (at its focused row). The setup dialogs empty it when they open.
//
// Plain data of the user-interface thread.
#pragma once

#include <optional>

#include "settings/IdentifierDefinition.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGridRows.h"

namespace orvane::simulation {

struct GridClipboard {
  std::optional<SimSlot> copied;        // the slot last copied or cut
  SlotGridRows* lastClicked = nullptr;  // the target of the next action

  void Reset() { *this = {}; }
};

enum class ClipboardAction { kCopy, kCut, kDelete, kInsertPaste, kOverwritePaste };

enum class ClipboardOutcome {
  kDone,
  kNoSelection,    // no grid clicked, or no focused row (message 201)
  kNothingCopied,  // a paste before anything was copied: nothing happens
  kRowUnreadable,  // the row's "Timer/Key" cannot be read (message 406)
};

// Runs an action on the focused row of the grid clicked last, then forgets
// that grid until the next click:
//  Copy: the row's slot, pattern path included, into the clipboard; a row of
//  an interrupt list is taken as disabled with delay 1.
//  Cut: Copy, then Delete.
//  Delete: in a list the row is removed, the rows below move up and a fresh
//  row is added at the end; the interrupt row is cleared.
//  Insert Paste: in a list the copied slot goes in before the row, the rows
//  below move down and the last row is dropped; the interrupt row is
//  replaced.
//  Overwrite Paste: the copied slot replaces the row, path included.
// The interrupt row keeps its own enable and delay, which it has no cells
// for.
ClipboardOutcome RunClipboardAction(GridClipboard& clipboard, ClipboardAction action,
                                    const settings::IdentifierDefinition& identifiers);

}  // namespace orvane::simulation
