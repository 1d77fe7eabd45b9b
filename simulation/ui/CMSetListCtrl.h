// The editing grid of the simulation windows: the schedule list and the
// interrupt row of the master setup (modes 0, 1), of the master monitor
// (modes 2, 3) and the slave list of the slave setup (mode 4), with the
// columns and widths of its mode.
//
// The rows live in a SlotGridRows (Rows()): text cells with the slot stored
// behind each row. In modes 0, 1 and 4 a single click toggles a check cell
// in any row ("Ena" may refuse, see ToggleCheckCell), and a double click on
// another cell of the selected row opens its in-place editor, one at a
// time (see SlotCellDelegate and CellEditAccess; a pattern row refuses with
// "Frame setting can not be changed, if pattern is defined."). Every click
// and accepted edit emits changed() and makes this grid the target of the
// clipboard actions. Modes 2 and 3 do not react to clicks.
//
// An owner can take over double clicks (SetDoubleClickHandler): the handler
// receives them first in every mode; when it returns false the grid opens
// its built-in editor for the cell (in modes 2 and 3 too).
//
// Message boxes go through the MessageSink. Threads: the user-interface
// thread only.
#pragma once

#include <QTableView>
#include <functional>

#include "monitor/MessageSink.h"
#include "settings/IdentifierDefinition.h"
#include "simulation/SlotClipboard.h"
#include "simulation/SlotGrid.h"
#include "simulation/SlotGridRows.h"

namespace orvane::ui {

class SlotCellDelegate;
class SlotGridModel;

class CMSetListCtrl final : public QTableView {
  Q_OBJECT

 public:
  // Receives a double click on (row, column); true when it took the click.
  using DoubleClickHandler = std::function<bool(int row, simulation::GridColumn column)>;

  // `rowCount` fresh rows. `identifiers` gives the data length of each
  // identifier and must outlive the grid. `clipboard` is the clipboard
  // shared by the grids of a dialog; null for the monitor modes.
  CMSetListCtrl(simulation::GridMode mode, std::size_t rowCount,
                const settings::IdentifierDefinition& identifiers, monitor::MessageSink& messages,
                simulation::GridClipboard* clipboard = nullptr, QWidget* parent = nullptr);
  ~CMSetListCtrl() override;

  simulation::GridMode mode() const;
  simulation::SlotGridRows& Rows();
  const simulation::SlotGridRows& Rows() const;

  // Shorthands of Rows() for one row.
  const simulation::SlotRow& RowCells(int row) const;
  void SetRowCells(int row, const simulation::SlotRow& cells);
  const simulation::SimSlot& StoredSlot(int row) const;
  void SetStoredSlot(int row, const simulation::SimSlot& slot);
  // Shows `slot` in the row and stores it behind the row.
  void ShowSlot(int row, const simulation::SimSlot& slot);

  // The focused row, -1 without one.
  int FocusedRow() const;
  // Makes `row` the selected and focused row (-1: none).
  void SelectRow(int row);

  // Opens the built-in editor of a cell as a double click does, whatever
  // the mode; false when the cell is not editable in its row or another
  // editor is open.
  bool EditCell(int row, simulation::GridColumn column);
  void SetDoubleClickHandler(DoubleClickHandler handler);

  // The view column of a grid column, -1 when the mode does not show it.
  int SectionOf(simulation::GridColumn column) const;

 Q_SIGNALS:
  // After each click (modes 0, 1, 4) and each accepted edit.
  void changed();
  // After an accepted edit, the cell edited (its row already shows the
  // effects on the other cells).
  void cellEdited(int row, simulation::GridColumn column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  bool ReactsToClicks() const;
  void SetUpColumns();
  void ToggleCheck(int row, simulation::GridColumn column);
  // A click: this grid becomes the clipboard's target; changed() follows.
  void NoteClick();

  SlotGridModel* model_;
  SlotCellDelegate* delegate_;
  monitor::MessageSink& messages_;
  simulation::GridClipboard* clipboard_;
  DoubleClickHandler doubleClickHandler_;
};

// Runs a clipboard action on the grid clicked last (see
// RunClipboardAction) and shows message 201 when there is no grid or no
// focused row, message 406 when the row cannot be read.
simulation::ClipboardOutcome RunGridClipboardAction(
    simulation::GridClipboard& clipboard, simulation::ClipboardAction action,
    const settings::IdentifierDefinition& identifiers, monitor::MessageSink& messages);

}  // namespace orvane::ui
