#include "views/ui/StatisticsTableModel.h"

#include "app/ui/QtText.h"

namespace orvane::ui {

void StatisticsTableModel::SetRows(std::vector<views::StatisticsRow> rows) {
  if (rows.size() != rows_.size()) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    return;
  }
  rows_ = std::move(rows);
  if (!rows_.empty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int StatisticsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StatisticsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(views::StatisticsColumnTitles().size());
}

QVariant StatisticsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                   : Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  return QtText(
      rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
}

QVariant StatisticsTableModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  const auto titles = views::StatisticsColumnTitles();
  if (section < 0 || section >= static_cast<int>(titles.size())) return {};
  return QtText(titles[static_cast<std::size_t>(section)]);
}

}  // namespace orvane::ui
