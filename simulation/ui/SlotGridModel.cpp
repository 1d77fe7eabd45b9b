#include "simulation/ui/SlotGridModel.h"

#include "simulation/SlotGridEdit.h"

namespace orvane::ui {

using simulation::CellKind;
using simulation::GridColumn;

SlotGridModel::SlotGridModel(simulation::GridMode mode, std::size_t rowCount,
                             const settings::IdentifierDefinition& identifiers, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(mode, rowCount),
      identifiers_(identifiers),
      columns_(simulation::GridColumns(mode)) {
  rows_.SetListener([this](simulation::RowsChange change) { Follow(change); });
}

GridColumn SlotGridModel::ColumnAt(int section) const {
  return columns_[static_cast<std::size_t>(section)].column;
}

int SlotGridModel::SectionOf(GridColumn column) const {
  for (std::size_t section = 0; section < columns_.size(); ++section) {
    if (columns_[section].column == column) return static_cast<int>(section);
  }
  return -1;
}

CellKind SlotGridModel::KindAt(const QModelIndex& index) const {
  return columns_[static_cast<std::size_t>(index.column())].kind;
}

int SlotGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SlotGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SlotGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const std::string& text =
      rows_.cells(static_cast<std::size_t>(index.row()))[ColumnAt(index.column())];
  switch (role) {
    case CellTextRole:
      return QString::fromStdString(text);
    case Qt::DisplayRole:
      if (KindAt(index) == CellKind::kCheck) return {};
      return QString::fromStdString(text);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant SlotGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount()) {
    return {};
  }
  const std::string_view title = columns_[static_cast<std::size_t>(section)].title;
  return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

Qt::ItemFlags SlotGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const CellKind kind = KindAt(index);
  if (kind != CellKind::kFixedText && kind != CellKind::kCheck) flags |= Qt::ItemIsEditable;
  return flags;
}

bool SlotGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
    return false;
  }
  const auto row = static_cast<std::size_t>(index.row());
  const GridColumn column = ColumnAt(index.column());
  simulation::SlotRow cells = rows_.cells(row);
  simulation::ApplyCellEdit(cells, column, value.toString().toStdString(), identifiers_);
  rows_.SetCells(row, cells);
  Q_EMIT cellEdited(index.row(), column);
  return true;
}

void SlotGridModel::Follow(simulation::RowsChange change) {
  if (change == simulation::RowsChange::kRowCount) {
    // The rows changed already; nothing reads the model in between.
    beginResetModel();
    endResetModel();
  } else if (rowCount() > 0) {
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

}  // namespace orvane::ui
