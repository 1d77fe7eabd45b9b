#include "simulation/SlotGridRows.h"

#include <stdexcept>

namespace orvane::simulation {

SlotGridRows::SlotGridRows(GridMode mode, std::size_t count) : mode_(mode) {
  rows_.reserve(count);
  for (std::size_t row = 0; row < count; ++row) rows_.push_back(Fresh(row));
}

void SlotGridRows::Resize(std::size_t count) {
  if (count == rows_.size()) return;
  while (rows_.size() > count) rows_.pop_back();
  while (rows_.size() < count) rows_.push_back(Fresh(rows_.size()));
  if (focused_ && *focused_ >= count) focused_.reset();
  Changed(RowsChange::kRowCount);
}

void SlotGridRows::SetCells(std::size_t row, const SlotRow& cells) {
  rows_.at(row).cells = cells;
  Changed(RowsChange::kCells);
}

void SlotGridRows::SetCell(std::size_t row, GridColumn column, std::string text) {
  rows_.at(row).cells[column] = std::move(text);
  Changed(RowsChange::kCells);
}

void SlotGridRows::SetStored(std::size_t row, const SimSlot& slot) {
  rows_.at(row).stored = slot;
  Changed(RowsChange::kCells);
}

void SlotGridRows::ShowSlot(std::size_t row, const SimSlot& slot,
                            const settings::IdentifierDefinition& identifiers) {
  rows_.at(row) = {simulation::ShowSlot(slot, mode_, identifiers, row), slot};
  Changed(RowsChange::kCells);
}

void SlotGridRows::RemoveRow(std::size_t row) {
  CheckRow(row);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  rows_.push_back(Fresh(rows_.size()));
  Renumber();
  Changed(RowsChange::kCells);
}

void SlotGridRows::InsertRow(std::size_t row, GridRow inserted) {
  CheckRow(row);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), std::move(inserted));
  rows_.pop_back();
  Renumber();
  Changed(RowsChange::kCells);
}

void SlotGridRows::CheckRow(std::size_t row) const {
  if (row >= rows_.size()) throw std::out_of_range("no such grid row");
}

GridRow SlotGridRows::Fresh(std::size_t row) const {
  return {FreshRow(mode_, row), SimSlot{}};
}

void SlotGridRows::Renumber() {
  if (FindColumn(mode_, kColumnNumber) == nullptr) return;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    rows_[row].cells[kColumnNumber] = std::to_string(row);
  }
}

void SlotGridRows::Changed(RowsChange change) {
  if (listener_) listener_(change);
}

}  // namespace orvane::simulation
