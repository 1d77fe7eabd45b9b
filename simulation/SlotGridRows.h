// The rows of one editing grid: the text cells of each row with the slot
// stored behind it (its pattern path and the bytes of "-" data cells travel
// with the row), and the row that has the focus. The grid window is a view
// of it; the setup dialogs and the clipboard change rows through it, and a
// listener hears of every change so that the view can follow.
//
// Plain data of the user-interface thread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/IdentifierDefinition.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGrid.h"

namespace orvane::simulation {

struct GridRow {
  SlotRow cells;
  SimSlot stored{};
};

enum class RowsChange {
  kCells,     // cells or stored slots changed; the number of rows did not
  kRowCount,  // rows were added or removed
};

class SlotGridRows {
 public:
  // `count` fresh rows (FreshRow) with all-zero stored slots.
  SlotGridRows(GridMode mode, std::size_t count);

  GridMode mode() const { return mode_; }
  std::size_t size() const { return rows_.size(); }

  // Fresh rows are added at the end, or the last rows dropped.
  void Resize(std::size_t count);

  const SlotRow& cells(std::size_t row) const { return rows_.at(row).cells; }
  const SimSlot& stored(std::size_t row) const { return rows_.at(row).stored; }
  void SetCells(std::size_t row, const SlotRow& cells);
  void SetCell(std::size_t row, GridColumn column, std::string text);
  void SetStored(std::size_t row, const SimSlot& slot);
  // The slot shown in the row (ShowSlot with the row's index as its
  // number) and stored behind it.
  void ShowSlot(std::size_t row, const SimSlot& slot,
                const settings::IdentifierDefinition& identifiers);

  // Removes a row (which must exist); the rows below move up one place and a fresh row is
  // added at the end.
  void RemoveRow(std::size_t row);
  // Inserts a row before `row` (which must exist); the rows below move down one place and the
  // last row is dropped.
  void InsertRow(std::size_t row, GridRow inserted);

  // The row with the focus, kept by the grid window; nothing without one.
  std::optional<std::size_t> focused() const { return focused_; }
  void SetFocused(std::optional<std::size_t> row) { focused_ = row; }

  // Called after every change.
  void SetListener(std::function<void(RowsChange)> listener) { listener_ = std::move(listener); }

 private:
  void CheckRow(std::size_t row) const;
  GridRow Fresh(std::size_t row) const;
  // "No." counts the rows from 0 again.
  void Renumber();
  void Changed(RowsChange change);

  GridMode mode_;
  std::vector<GridRow> rows_;
  std::optional<std::size_t> focused_;
  std::function<void(RowsChange)> listener_;
};

}  // namespace orvane::simulation
