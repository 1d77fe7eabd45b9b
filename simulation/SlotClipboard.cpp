#include "simulation/SlotClipboard.h"

#include <utility>

#include "simulation/SlotRowRead.h"

namespace orvane::simulation {

namespace {

bool IsInterruptList(GridMode mode) {
  return mode == GridMode::kSetupInterrupt || mode == GridMode::kMonitorInterrupt;
}

ClipboardOutcome Copy(GridClipboard& clipboard, const SlotGridRows& rows, std::size_t row,
                      const settings::IdentifierDefinition& identifiers) {
  std::optional<SimSlot> slot =
      ReadGridRow(rows.mode(), rows.cells(row), rows.stored(row), identifiers);
  if (!slot) return ClipboardOutcome::kRowUnreadable;
  if (IsInterruptList(rows.mode())) {
    slot->enable = 0;
    slot->delay = 1;
  }
  clipboard.copied = slot;
  return ClipboardOutcome::kDone;
}

void Delete(SlotGridRows& rows, std::size_t row) {
  if (!IsInterruptList(rows.mode())) {
    rows.RemoveRow(row);
    return;
  }
  SimSlot cleared{};
  cleared.enable = rows.stored(row).enable;
  cleared.delay = rows.stored(row).delay;
  rows.SetCells(row, FreshRow(rows.mode(), row));
  rows.SetStored(row, cleared);
}

void Overwrite(SlotGridRows& rows, std::size_t row, SimSlot slot,
               const settings::IdentifierDefinition& identifiers) {
  if (IsInterruptList(rows.mode())) {
    slot.enable = rows.stored(row).enable;
    slot.delay = rows.stored(row).delay;
  }
  rows.ShowSlot(row, slot, identifiers);
}

}  // namespace

ClipboardOutcome RunClipboardAction(GridClipboard& clipboard, ClipboardAction action,
                                    const settings::IdentifierDefinition& identifiers) {
  SlotGridRows* rows = std::exchange(clipboard.lastClicked, nullptr);
  if (rows == nullptr || !rows->focused() || *rows->focused() >= rows->size()) {
    return ClipboardOutcome::kNoSelection;
  }
  const std::size_t row = *rows->focused();
  const bool paste =
      action == ClipboardAction::kInsertPaste || action == ClipboardAction::kOverwritePaste;
  if (paste && !clipboard.copied) return ClipboardOutcome::kNothingCopied;

  switch (action) {
    case ClipboardAction::kCopy:
      return Copy(clipboard, *rows, row, identifiers);
    case ClipboardAction::kCut:
      if (const ClipboardOutcome copied = Copy(clipboard, *rows, row, identifiers);
          copied != ClipboardOutcome::kDone) {
        return copied;
      }
      Delete(*rows, row);
      break;
    case ClipboardAction::kDelete:
      Delete(*rows, row);
      break;
    case ClipboardAction::kInsertPaste:
      if (IsInterruptList(rows->mode())) {
        Overwrite(*rows, row, *clipboard.copied, identifiers);
      } else {
        rows->InsertRow(
            row, {ShowSlot(*clipboard.copied, rows->mode(), identifiers, row), *clipboard.copied});
      }
      break;
    case ClipboardAction::kOverwritePaste:
      Overwrite(*rows, row, *clipboard.copied, identifiers);
      break;
  }
  return ClipboardOutcome::kDone;
}

}  // namespace orvane::simulation
