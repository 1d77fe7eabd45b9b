// The item model behind the editing grid: the rows of one SlotGridRows
// (which it owns) in the columns of the grid's mode. Check cells give their
// text only under CellTextRole, so that the delegate draws them as check
// marks; an accepted editor text goes in through setData, which carries out
// its effects on the row (ApplyCellEdit) and reports the edited cell.
//
// Threads: the user-interface thread only.
#pragma once

#include <QAbstractTableModel>
#include <span>

#include "settings/IdentifierDefinition.h"
#include "simulation/SlotGrid.h"
#include "simulation/SlotGridRows.h"

namespace orvane::ui {

class SlotGridModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The text of any cell, check cells included.
  static constexpr int CellTextRole = Qt::UserRole;

  SlotGridModel(simulation::GridMode mode, std::size_t rowCount,
                const settings::IdentifierDefinition& identifiers, QObject* parent = nullptr);

  simulation::SlotGridRows& rows() { return rows_; }
  const simulation::SlotGridRows& rows() const { return rows_; }
  const settings::IdentifierDefinition& identifiers() const { return identifiers_; }

  simulation::GridColumn ColumnAt(int section) const;
  // The section of a column, or -1 when the mode does not show it.
  int SectionOf(simulation::GridColumn column) const;
  simulation::CellKind KindAt(const QModelIndex& index) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Qt::EditRole: an accepted editor text (see CheckEditedText).
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 Q_SIGNALS:
  void cellEdited(int row, simulation::GridColumn column);

 private:
  void Follow(simulation::RowsChange change);

  simulation::SlotGridRows rows_;
  const settings::IdentifierDefinition& identifiers_;
  std::span<const simulation::ColumnLayout> columns_;
};

}  // namespace orvane::ui
